#include "AssetStore.h"

#include "core/AssetCatalogue.h"
#include "core/AssetTree.h"
#include "core/NumberText.h"
#include "core/TreeFiles.h"

#include <QFileInfo>
#include <QStandardPaths>

#include <utility>

AssetStore::AssetStore(QString baseDirectory, QString executableDirectory)
    : m_executableDir(std::move(executableDirectory)),
      m_tree(std::make_unique<AssetTree>(std::move(baseDirectory)))
{
}

AssetStore::~AssetStore() = default;

void AssetStore::startUnpacking()
{
    m_tree->start();
}

void AssetStore::finishUnpacking()
{
    m_tree->finish();
}

void AssetStore::UnpackAssets()
{
    m_tree->start();
    m_tree->finish();
}

void AssetStore::RemoveAssetTree()
{
    m_tree->remove();
}

void AssetStore::removeTreeAtExit()
{
    m_tree->removeAtExit();
}

QString AssetStore::tempPath() const
{
    return m_tree->root();
}

bool AssetStore::WriteResourceFile(int number, const QString& type, int directoryFd,
                                   const QString& fileName)
{
    return TreeFiles::writeResourceFile(number, type, directoryFd, fileName);
}

QString AssetStore::treeOrEmbedded(const QString& directory, const QString& fileName,
                                   const QString& type, int number) const
{
    if (!m_tree->playsFromEmbedded()) {
        // A temporary-file cleaner may take the tree while the game runs; the copy inside the
        // executable is always there.
        QString file = m_tree->root() + QStringLiteral("Lotaro/") + directory + u'/' + fileName;
        if (QFileInfo::exists(file))
            return file;
    }
    return AssetCatalogue::resourcePath(type, number);
}

QString AssetStore::pictureAt(const QString& directory, const QString& fileName,
                              const QString& type, int number, int devicePixels) const
{
    const int factor =
        AssetCatalogue::pictureFactor(AssetCatalogue::pictureSide(type, number), devicePixels);
    if (factor > 1)
        return AssetCatalogue::resourcePath(type, number, factor);
    return treeOrEmbedded(directory, fileName, type, number);
}

QString AssetStore::facePath(const QString& faceSet, const QString& value, int devicePixels) const
{
    const int set = NumberText::readAsNumber(faceSet);
    if (set == 5)
        return ownSetDirectory() + u'/' + value + QStringLiteral(".jpg");
    return pictureAt(faceSet, value + QStringLiteral(".jpg"), QStringLiteral("custom"),
                     100 + 40 * set + NumberText::readAsNumber(value), devicePixels);
}

QString AssetStore::backPath(const QString& backSet, int devicePixels) const
{
    return pictureAt(QStringLiteral("rub"), backSet + QStringLiteral(".jpg"), QStringLiteral("rub"),
                     NumberText::readAsNumber(backSet), devicePixels);
}

QString AssetStore::soundPath(GameSound sound) const
{
    const int number = static_cast<int>(sound);
    return treeOrEmbedded(QStringLiteral("zvuky"), QString::number(number) + QStringLiteral(".wav"),
                          QStringLiteral("zvuky"), number);
}

// An installed game's directory is not the player's to write to: the set goes to the user's
// data directory then.
QString AssetStore::ownSetDirectory() const
{
    if (QFileInfo::exists(m_executableDir + QStringLiteral("/1.jpg")))
        return m_executableDir;
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/Lotaro");
}
