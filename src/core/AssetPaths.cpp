#include "AssetPaths.h"

#include "core/AssetCatalogue.h"
#include "core/NumberText.h"

#include <QFileInfo>
#include <QStandardPaths>

namespace AssetPaths {
QString facePicture(const QString& tempPath, const QString& ownSetDir, const QString& faceSet,
                    const QString& value)
{
    const int set = NumberText::readAsNumber(faceSet);
    if (set == 5)
        return ownSetDir + u'/' + value + QStringLiteral(".jpg");
    if (tempPath == embeddedRoot)
        return AssetCatalogue::resourcePath(QStringLiteral("custom"),
                                            100 + 40 * set + NumberText::readAsNumber(value));
    return tempPath + QStringLiteral("Lotaro/") + faceSet + u'/' + value + QStringLiteral(".jpg");
}

QString backPicture(const QString& tempPath, const QString& backSet)
{
    if (tempPath == embeddedRoot)
        return AssetCatalogue::resourcePath(QStringLiteral("rub"),
                                            NumberText::readAsNumber(backSet));
    return tempPath + QStringLiteral("Lotaro/rub/") + backSet + QStringLiteral(".jpg");
}

QString sound(const QString& tempPath, int number)
{
    if (tempPath == embeddedRoot)
        return AssetCatalogue::resourcePath(QStringLiteral("zvuky"), number);
    return tempPath + QStringLiteral("Lotaro/zvuky/") + QString::number(number) +
           QStringLiteral(".wav");
}
QString ownSetDirectory(const QString& executableDir)
{
    if (QFileInfo::exists(executableDir + QStringLiteral("/1.jpg")))
        return executableDir;
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/Lotaro");
}
} // namespace AssetPaths
