#include "AssetTree.h"

#include "core/AssetCatalogue.h"
#include "core/TreeFiles.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

using TreeFiles::local;

namespace {
// The root of a run that plays from the embedded assets.
const QString embeddedRoot = QStringLiteral(":/");

std::atomic<AssetTree*> treeAtExit{nullptr};

void removeRegisteredTree()
{
    if (AssetTree* tree = treeAtExit.exchange(nullptr))
        tree->remove();
}
} // namespace

AssetTree::AssetTree(QString baseDirectory)
    : m_base(baseDirectory.isEmpty() ? GetTempDirectory() : std::move(baseDirectory))
{
    if (!m_base.endsWith(u'/'))
        m_base += u'/';
}

AssetTree::~AssetTree()
{
    AssetTree* self = this;
    treeAtExit.compare_exchange_strong(self, nullptr);
    if (m_writer.joinable())
        m_writer.join();
    close();
}

QString AssetTree::GetTempDirectory()
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

bool AssetTree::playsFromEmbedded() const
{
    return m_root == embeddedRoot;
}

void AssetTree::start()
{
    AssetCatalogue::ensureRegistered();
    finish();
    if (!m_tree.valid())
        TreeFiles::removeStaleTrees(m_base);
    if (!m_tree.valid() && !open(m_base) && !makePrivate()) {
        // No tree can be made (read-only temporary directory): the game still plays, from
        // the pictures and sounds inside the executable.
        m_root = embeddedRoot;
        return;
    }
    // The worker only writes through the directory handles, which nothing else touches
    // until finish has joined it.
    m_writer = std::thread([this] { m_written = writeAll(); });
}

void AssetTree::finish()
{
    if (!m_writer.joinable())
        return;
    m_writer.join();
    if (!m_written) {
        // The files could not be written (a full disk): play from the executable instead.
        remove();
        m_root = embeddedRoot;
    }
}

bool AssetTree::open(const QString& parent)
{
    const UniqueFd parentFd = TreeFiles::openDirectory(parent);
    if (!parentFd.valid())
        return false;
    // A copy that is just removing the tree holds it exclusively; once it is done, the tree we
    // waited for is gone and a new one is made.
    for (int attempt = 0; attempt < 5 && !m_tree.valid(); ++attempt) {
        UniqueFd fd = TreeFiles::openPrivateDirectory(parentFd.get(), "Lotaro");
        if (!fd.valid())
            break;
        while (flock(fd.get(), LOCK_SH) != 0 && errno == EINTR) {
        }
        if (TreeFiles::isSameDirectory(fd.get(), parentFd.get(), "Lotaro"))
            m_tree = std::move(fd);
    }
    if (!m_tree.valid())
        return false;

    for (const QString& name : AssetCatalogue::directories()) {
        UniqueFd fd = TreeFiles::openPrivateDirectory(m_tree.get(), local(name).constData());
        if (!fd.valid()) {
            close();
            return false;
        }
        m_subdirs.push_back(std::move(fd));
    }
    m_root = parent.endsWith(u'/') ? parent : parent + u'/';
    return true;
}

bool AssetTree::makePrivate()
{
    // Something that is not ours stands where the tree belongs; this run makes its own.
    QByteArray pattern = local(m_base + QStringLiteral("Lotaro-XXXXXX"));
    if (!mkdtemp(pattern.data()))
        return false;
    m_privateParent = QFile::decodeName(pattern);
    return open(m_privateParent);
}

bool AssetTree::writeAll()
{
    const auto& names = AssetCatalogue::directories();
    for (const AssetCatalogue::Asset& asset : AssetCatalogue::all()) {
        const auto index = std::find(names.begin(), names.end(), asset.directory) - names.begin();
        if (!TreeFiles::writeResourceFile(asset.number, asset.type, m_subdirs[size_t(index)].get(),
                                          asset.fileName))
            return false;
    }
    return true;
}

void AssetTree::remove()
{
    if (m_writer.joinable())
        m_writer.join();
    if (!m_tree.valid())
        return;
    // Another running copy still holds the tree: it stays for that copy, which removes it.
    if (flock(m_tree.get(), LOCK_EX | LOCK_NB) != 0) {
        close();
        return;
    }
    for (const QString& name : AssetCatalogue::directories())
        TreeFiles::removeSubdirectory(m_tree.get(), name);

    const QString parent = m_root.isEmpty() || playsFromEmbedded() ? m_base : m_root;
    const UniqueFd parentFd = TreeFiles::openDirectory(parent);
    if (parentFd.valid() && TreeFiles::isSameDirectory(m_tree.get(), parentFd.get(), "Lotaro"))
        unlinkat(parentFd.get(), "Lotaro", AT_REMOVEDIR);
    if (!m_privateParent.isEmpty())
        rmdir(local(m_privateParent).constData());
    // Only now may a copy that waits for the tree go on, and it will make a new one.
    close();
}

void AssetTree::removeAtExit()
{
    TreeFiles::prepareRemovalAtExit();
    static const bool registered = std::atexit(removeRegisteredTree) == 0;
    if (registered)
        treeAtExit = this;
}

void AssetTree::close()
{
    m_subdirs.clear();
    m_tree.reset();
}
