#include "TreeFiles.h"

#include "core/AssetCatalogue.h"

#include <QCoreApplication>
#include <QFile>
#include <QList>
#include <QResource>
#include <QSet>

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {
constexpr int directoryFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;

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
} // namespace

namespace TreeFiles {
QByteArray local(const QString& path)
{
    return QFile::encodeName(path);
}

UniqueFd openDirectory(const QString& path)
{
    return UniqueFd(open(local(path).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
}

UniqueFd openPrivateDirectory(int parentFd, const char* name)
{
    if (mkdirat(parentFd, name, 0700) != 0 && errno != EEXIST)
        return {};
    UniqueFd fd(openat(parentFd, name, directoryFlags));
    struct stat st {};
    if (!fd.valid() || fstat(fd.get(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != geteuid())
        return {};
    if ((st.st_mode & 077) != 0 && fchmod(fd.get(), 0700) != 0)
        return {};
    return fd;
}

bool isSameDirectory(int heldFd, int parentFd, const char* name)
{
    struct stat held {
    }, current{};
    return fstat(heldFd, &held) == 0 &&
           fstatat(parentFd, name, &current, AT_SYMLINK_NOFOLLOW) == 0 &&
           held.st_dev == current.st_dev && held.st_ino == current.st_ino;
}

bool writeResourceFile(int number, const QString& type, int directoryFd, const QString& fileName)
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

// A tree "Lotaro" may have been the player's before the game came (the same name in the same
// directory), so whatever else is in it stays, and so do links and deeper directories.
void removeSubdirectory(int treeFd, const QString& directory)
{
    const QByteArray name = local(directory);
    UniqueFd fd(openat(treeFd, name.constData(), directoryFlags));
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

// Such a tree was made beside someone else's "Lotaro" and could not be removed because its run
// was killed. A tree whose lock another run holds is in use and stays; so does everything that
// is not this user's own directory.
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
        const UniqueFd parent(openat(baseFd.get(), name.constData(), directoryFlags));
        struct stat st {};
        if (!parent.valid() || fstat(parent.get(), &st) != 0 || st.st_uid != geteuid())
            continue;
        const UniqueFd tree(openat(parent.get(), "Lotaro", directoryFlags));
        if (!tree.valid() || flock(tree.get(), LOCK_EX | LOCK_NB) != 0)
            continue;
        for (const QString& sub : AssetCatalogue::directories())
            removeSubdirectory(tree.get(), sub);
        unlinkat(parent.get(), "Lotaro", AT_REMOVEDIR);
        unlinkat(baseFd.get(), name.constData(), AT_REMOVEDIR);
    }
}

void prepareRemovalAtExit()
{
    AssetCatalogue::directories();
    isOwnFile(QString(), QString());
}
} // namespace TreeFiles
