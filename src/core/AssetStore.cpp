#include "AssetStore.h"

#include "core/AssetCatalogue.h"
#include "core/NumberText.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QResource>
#include <QSet>
#include <QStandardPaths>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
// The tempPath of a run that plays from the embedded assets.
const QString embeddedRoot = QStringLiteral(":/");

QByteArray local(const QString& path)
{
    return QFile::encodeName(path);
}

// A directory that is ours alone: really a directory (not a link), owned by this user, and
// closed to others from now on.
bool isPrivateDirectory(int fd)
{
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != geteuid())
        return false;
    if ((st.st_mode & 077) != 0 && fchmod(fd, 0700) != 0)
        return false;
    return true;
}

UniqueFd openPrivateDirectory(int parentFd, const char* name)
{
    if (mkdirat(parentFd, name, 0700) != 0 && errno != EEXIST)
        return {};
    UniqueFd fd(openat(parentFd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!fd.valid() || !isPrivateDirectory(fd.get()))
        return {};
    return fd;
}

UniqueFd openDirectory(const QString& path)
{
    return UniqueFd(open(local(path).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
}

// Whether the name in the directory is still the very directory that is held open.
bool isSameDirectory(int heldFd, int parentFd, const char* name)
{
    struct stat held {
    }, current{};
    return fstat(heldFd, &held) == 0 &&
           fstatat(parentFd, name, &current, AT_SYMLINK_NOFOLLOW) == 0 &&
           held.st_dev == current.st_dev && held.st_ino == current.st_ino;
}

bool writeBytes(int fd, const uchar* data, qint64 size)
{
    while (size > 0) {
        const ssize_t n = write(fd, data, static_cast<size_t>(size));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += n;
        size -= n;
    }
    return true;
}

// Whether a file of the subdirectory is one the game writes there: a file of the catalogue, or
// the temporary (".1.jpg.<pid>") that a copy which died while writing it left behind.
bool isOwnFile(const QString& directory, QString name)
{
    static const QSet<QString> files = [] {
        QSet<QString> set;
        for (const AssetCatalogue::Asset& a : AssetCatalogue::all())
            set.insert(a.directory + u'/' + a.fileName);
        return set;
    }();
    if (name.startsWith(u'.')) {
        const qsizetype dot = name.lastIndexOf(u'.');
        bool isPid = false;
        name.mid(dot + 1).toUInt(&isPid);
        if (!isPid || dot < 2)
            return false;
        name = name.mid(1, dot - 1);
    }
    return files.contains(directory + u'/' + name);
}

// Deletes the game's own files of one subdirectory and then the subdirectory, if that left it
// empty. A tree "Lotaro" may have been the player's before the game came (the same name in the
// same directory), so whatever else is in it stays, and so do links and deeper directories.
void removeSubdirectory(int treeFd, const QString& directory)
{
    const QByteArray name = local(directory);
    UniqueFd fd(openat(treeFd, name.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!fd.valid())
        return;
    if (DIR* dir = fdopendir(fd.get())) {
        while (const dirent* entry = readdir(dir)) {
            struct stat st {};
            if (isOwnFile(directory, QFile::decodeName(entry->d_name)) &&
                fstatat(fd.get(), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 &&
                S_ISREG(st.st_mode))
                unlinkat(fd.get(), entry->d_name, 0);
        }
        fd.release();
        closedir(dir); // closes the descriptor as well
    }
    unlinkat(treeFd, name.constData(), AT_REMOVEDIR);
}

// Removes the "Lotaro-XXXXXX" trees that runs of this user made beside someone else's "Lotaro"
// and could not remove because they were killed. A tree whose lock another run holds is in use
// and stays; so does everything that is not this user's own directory.
void removeStaleTrees(const QString& base)
{
    const UniqueFd baseFd = openDirectory(base);
    DIR* dir = baseFd.valid() ? fdopendir(dup(baseFd.get())) : nullptr;
    if (!dir)
        return;
    QList<QByteArray> names;
    while (const dirent* entry = readdir(dir)) {
        const QByteArray name(entry->d_name);
        if (name.size() == 13 && name.startsWith("Lotaro-"))
            names.append(name);
    }
    closedir(dir);
    for (const QByteArray& name : std::as_const(names)) {
        const UniqueFd parent(openat(baseFd.get(), name.constData(),
                                     O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        struct stat st {};
        if (!parent.valid() || fstat(parent.get(), &st) != 0 || st.st_uid != geteuid())
            continue;
        const UniqueFd tree(
            openat(parent.get(), "Lotaro", O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        if (!tree.valid() || flock(tree.get(), LOCK_EX | LOCK_NB) != 0)
            continue;
        for (const QString& sub : AssetCatalogue::directories())
            removeSubdirectory(tree.get(), sub);
        unlinkat(parent.get(), "Lotaro", AT_REMOVEDIR);
        unlinkat(baseFd.get(), name.constData(), AT_REMOVEDIR);
    }
}

std::atomic<AssetStore*> storeAtExit{nullptr};

void removeTreeOfStoreAtExit()
{
    if (AssetStore* store = storeAtExit.exchange(nullptr))
        store->RemoveAssetTree();
}
} // namespace

AssetStore::AssetStore(QString baseDirectory, QString executableDirectory)
    : m_base(baseDirectory.isEmpty() ? GetTempDirectory() : std::move(baseDirectory)),
      m_executableDir(std::move(executableDirectory))
{
    if (!m_base.endsWith(u'/'))
        m_base += u'/';
}

AssetStore::~AssetStore()
{
    AssetStore* self = this;
    storeAtExit.compare_exchange_strong(self, nullptr);
    if (m_writer.joinable())
        m_writer.join();
    closeTree();
}

QString AssetStore::GetTempDirectory()
{
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty()) {
        struct stat st {};
        if (stat(runtime.constData(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == geteuid() &&
            (st.st_mode & 022) == 0) {
            QString path = QFile::decodeName(runtime);
            return path.endsWith(u'/') ? path : path + u'/';
        }
    }
    // Qt answers an empty path when TMPDIR names a directory that does not exist; the tree
    // would then be made in "/".
    const QString temp = QDir::tempPath();
    if (temp.isEmpty())
        return QStringLiteral("/tmp/");
    return temp.endsWith(u'/') ? temp : temp + u'/';
}

bool AssetStore::playsFromEmbedded() const
{
    return m_tempPath == embeddedRoot;
}

QString AssetStore::treeOrEmbedded(const QString& directory, const QString& fileName,
                                   const QString& type, int number) const
{
    if (!playsFromEmbedded()) {
        // A temporary-file cleaner may take the tree while the game runs; the copy inside the
        // executable is always there.
        QString file = m_tempPath + QStringLiteral("Lotaro/") + directory + u'/' + fileName;
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

QString AssetStore::ownSetDirectory() const
{
    if (QFileInfo::exists(m_executableDir + QStringLiteral("/1.jpg")))
        return m_executableDir;
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/Lotaro");
}

void AssetStore::UnpackAssets()
{
    startUnpacking();
    finishUnpacking();
}

void AssetStore::startUnpacking()
{
    AssetCatalogue::ensureRegistered();
    finishUnpacking();
    if (!m_tree.valid())
        removeStaleTrees(m_base);
    if (!m_tree.valid() && !openTree(m_base) && !makePrivateTree()) {
        // No tree can be made (read-only temporary directory): the game still plays, from
        // the pictures and sounds inside the executable.
        m_tempPath = embeddedRoot;
        return;
    }
    // The worker only writes through the directory handles, which nothing else touches
    // until finishUnpacking has joined it.
    m_writer = std::thread([this] { m_written = writeAll(); });
}

void AssetStore::finishUnpacking()
{
    if (!m_writer.joinable())
        return;
    m_writer.join();
    if (!m_written) {
        // The files could not be written (a full disk): play from the executable instead.
        RemoveAssetTree();
        m_tempPath = embeddedRoot;
    }
}

bool AssetStore::openTree(const QString& parent)
{
    const UniqueFd parentFd = openDirectory(parent);
    if (!parentFd.valid())
        return false;
    // A copy that is just removing the tree holds it exclusively; once it is done, the tree we
    // waited for is gone and a new one is made.
    for (int attempt = 0; attempt < 5 && !m_tree.valid(); ++attempt) {
        UniqueFd fd = openPrivateDirectory(parentFd.get(), "Lotaro");
        if (!fd.valid())
            break;
        while (flock(fd.get(), LOCK_SH) != 0 && errno == EINTR) {
        }
        if (isSameDirectory(fd.get(), parentFd.get(), "Lotaro"))
            m_tree = std::move(fd);
    }
    if (!m_tree.valid())
        return false;

    for (const QString& name : AssetCatalogue::directories()) {
        UniqueFd fd = openPrivateDirectory(m_tree.get(), local(name).constData());
        if (!fd.valid()) {
            closeTree();
            return false;
        }
        m_subdirs.push_back(std::move(fd));
    }
    m_tempPath = parent.endsWith(u'/') ? parent : parent + u'/';
    return true;
}

bool AssetStore::makePrivateTree()
{
    // Something that is not ours stands where the tree belongs; this run makes its own.
    QByteArray pattern = local(m_base + QStringLiteral("Lotaro-XXXXXX"));
    if (!mkdtemp(pattern.data()))
        return false;
    m_privateParent = QFile::decodeName(pattern);
    return openTree(m_privateParent);
}

bool AssetStore::WriteResourceFile(int number, const QString& type, int directoryFd,
                                   const QString& fileName)
{
    const QResource resource(AssetCatalogue::resourcePath(type, number));
    if (!resource.isValid())
        return false;
    const QByteArray bytes = resource.uncompressedData();
    const QByteArray name = local(fileName);
    const QByteArray temporary =
        '.' + name + '.' + QByteArray::number(QCoreApplication::applicationPid());
    unlinkat(directoryFd, temporary.constData(), 0);
    UniqueFd fd(openat(directoryFd, temporary.constData(),
                       O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (!fd.valid())
        return false;
    const bool written =
        writeBytes(fd.get(), reinterpret_cast<const uchar*>(bytes.constData()), bytes.size());
    const bool closed = fd.reset();
    // The rename replaces a planted link itself, never what it points to.
    if (!written || !closed ||
        renameat(directoryFd, temporary.constData(), directoryFd, name.constData()) != 0) {
        unlinkat(directoryFd, temporary.constData(), 0);
        return false;
    }
    return true;
}

bool AssetStore::writeAll()
{
    const auto& names = AssetCatalogue::directories();
    for (const AssetCatalogue::Asset& asset : AssetCatalogue::all()) {
        const auto index = std::find(names.begin(), names.end(), asset.directory) - names.begin();
        if (!WriteResourceFile(asset.number, asset.type, m_subdirs[size_t(index)].get(),
                               asset.fileName))
            return false;
    }
    return true;
}

void AssetStore::RemoveAssetTree()
{
    if (m_writer.joinable())
        m_writer.join();
    if (!m_tree.valid())
        return;
    // Another running copy still holds the tree: it stays for that copy, which removes it.
    if (flock(m_tree.get(), LOCK_EX | LOCK_NB) != 0) {
        closeTree();
        return;
    }
    for (const QString& name : AssetCatalogue::directories())
        removeSubdirectory(m_tree.get(), name);

    const QString parent = m_tempPath.isEmpty() || playsFromEmbedded() ? m_base : m_tempPath;
    const UniqueFd parentFd = openDirectory(parent);
    if (parentFd.valid() && isSameDirectory(m_tree.get(), parentFd.get(), "Lotaro"))
        unlinkat(parentFd.get(), "Lotaro", AT_REMOVEDIR);
    if (!m_privateParent.isEmpty())
        rmdir(local(m_privateParent).constData());
    // Only now may a copy that waits for the tree go on, and it will make a new one.
    closeTree();
}

void AssetStore::removeTreeAtExit()
{
    // Exit handlers and the destructors of statics run in the reverse order of their making:
    // what the clean-up reads is made first, so that it is still there when the handler runs.
    AssetCatalogue::directories();
    isOwnFile(QString(), QString());
    static const bool registered = std::atexit(removeTreeOfStoreAtExit) == 0;
    if (registered)
        storeAtExit = this;
}

void AssetStore::closeTree()
{
    m_subdirs.clear();
    m_tree.reset();
}
