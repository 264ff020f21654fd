#include "AssetStore.h"

#include "core/AssetCatalogue.h"
#include "core/AssetPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QResource>

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

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

int openPrivateDirectory(int parentFd, const char* name)
{
    if (mkdirat(parentFd, name, 0700) != 0 && errno != EEXIST)
        return -1;
    const int fd = openat(parentFd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return -1;
    if (!isPrivateDirectory(fd)) {
        close(fd);
        return -1;
    }
    return fd;
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

// Deletes the regular files of one subdirectory and then the subdirectory itself. Links and
// anything else are left alone, and deeper directories are not entered.
void removeSubdirectory(int treeFd, const char* name)
{
    const int fd = openat(treeFd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return;
    if (DIR* dir = fdopendir(fd)) {
        while (const dirent* entry = readdir(dir)) {
            struct stat st {};
            if (fstatat(fd, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode))
                unlinkat(fd, entry->d_name, 0);
        }
        closedir(dir); // closes fd as well
    } else {
        close(fd);
    }
    unlinkat(treeFd, name, AT_REMOVEDIR);
}
} // namespace

AssetStore::AssetStore(QString baseDirectory)
    : m_base(baseDirectory.isEmpty() ? GetTempDirectory() : std::move(baseDirectory))
{
    if (!m_base.endsWith(u'/'))
        m_base += u'/';
}

AssetStore::~AssetStore()
{
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
    const QString temp = QDir::tempPath();
    return temp.endsWith(u'/') ? temp : temp + u'/';
}

bool AssetStore::playsFromEmbedded() const
{
    return m_tempPath == AssetPaths::embeddedRoot;
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
    if (m_treeFd < 0 && !openTree(m_base) && !makePrivateTree()) {
        // No tree can be made (read-only temporary directory): the game still plays, from
        // the pictures and sounds inside the executable.
        m_tempPath = AssetPaths::embeddedRoot;
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
        m_tempPath = AssetPaths::embeddedRoot;
    }
}

bool AssetStore::openTree(const QString& parent)
{
    const QByteArray parentPath = local(parent);
    const int parentFd = open(parentPath.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (parentFd < 0)
        return false;
    // A copy that is just removing the tree holds it exclusively; once it is done, the tree we
    // waited for is gone and a new one is made.
    for (int attempt = 0; attempt < 5 && m_treeFd < 0; ++attempt) {
        const int fd = openPrivateDirectory(parentFd, "Lotaro");
        if (fd < 0)
            break;
        while (flock(fd, LOCK_SH) != 0 && errno == EINTR) {
        }
        struct stat held {
        }, current{};
        if (fstat(fd, &held) == 0 &&
            fstatat(parentFd, "Lotaro", &current, AT_SYMLINK_NOFOLLOW) == 0 &&
            held.st_dev == current.st_dev && held.st_ino == current.st_ino)
            m_treeFd = fd;
        else
            close(fd);
    }
    close(parentFd);
    if (m_treeFd < 0)
        return false;

    for (const QString& name : AssetCatalogue::directories()) {
        const int fd = openPrivateDirectory(m_treeFd, local(name).constData());
        if (fd < 0) {
            closeTree();
            return false;
        }
        m_subdirFds.push_back(fd);
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
    const int fd = openat(directoryFd, temporary.constData(),
                          O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    const bool written =
        writeBytes(fd, reinterpret_cast<const uchar*>(bytes.constData()), bytes.size());
    const bool closed = close(fd) == 0;
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
        if (!WriteResourceFile(asset.number, asset.type, m_subdirFds[index], asset.fileName))
            return false;
    }
    return true;
}

void AssetStore::RemoveAssetTree()
{
    if (m_writer.joinable())
        m_writer.join();
    if (m_treeFd < 0)
        return;
    // Another running copy still holds the tree: it stays for that copy, which removes it.
    if (flock(m_treeFd, LOCK_EX | LOCK_NB) != 0) {
        closeTree();
        return;
    }
    for (const QString& name : AssetCatalogue::directories())
        removeSubdirectory(m_treeFd, local(name).constData());

    const QString parent = m_tempPath.isEmpty() || playsFromEmbedded() ? m_base : m_tempPath;
    const int parentFd = open(local(parent).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (parentFd >= 0) {
        struct stat held {
        }, current{};
        if (fstat(m_treeFd, &held) == 0 &&
            fstatat(parentFd, "Lotaro", &current, AT_SYMLINK_NOFOLLOW) == 0 &&
            held.st_dev == current.st_dev && held.st_ino == current.st_ino)
            unlinkat(parentFd, "Lotaro", AT_REMOVEDIR);
        close(parentFd);
    }
    if (!m_privateParent.isEmpty())
        rmdir(local(m_privateParent).constData());
    // Only now may a copy that waits for the tree go on, and it will make a new one.
    closeTree();
}

void AssetStore::closeTree()
{
    for (int fd : m_subdirFds)
        close(fd);
    m_subdirFds.clear();
    if (m_treeFd >= 0)
        close(m_treeFd);
    m_treeFd = -1;
}
