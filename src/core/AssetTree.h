#pragma once

#include "core/UniqueFd.h"

#include <QString>

#include <thread>
#include <vector>

// The private temporary tree "Lotaro/" that holds the embedded pictures and sounds as files for
// the length of a run: made at its start, removed at its end (also when the run ends through a
// signal or exit()).
//
// The tree is private to the user and shared safely by copies of the game that run at the same
// time: each copy holds a shared lock on it, and only the last one to end removes it. Nothing
// planted in the temporary directory (links, foreign directories) is ever written through or
// deleted. When no tree can be made, the run plays from the embedded assets directly.
class AssetTree {
public:
    // baseDirectory: the directory to make the tree in; empty means GetTempDirectory().
    explicit AssetTree(QString baseDirectory);
    ~AssetTree();
    AssetTree(const AssetTree&) = delete;
    AssetTree& operator=(const AssetTree&) = delete;

    // The user's private runtime directory when there is a safe one, otherwise the system's
    // temporary directory; always with a trailing "/".
    static QString GetTempDirectory();

    // The tree is made and root() set at once; the files are written on a worker thread, and
    // finish waits for them (and falls back to the embedded assets if they could not be
    // written). Safe to call again.
    void start();
    void finish();
    // Removes the tree unless another running copy still uses it.
    void remove();
    // Has remove run also when the process ends through exit() while this tree lives, as a
    // toolkit that loses its display ends it.
    void removeAtExit();

    // The directory that holds "Lotaro/", with a trailing "/"; the embedded root ":/" when the
    // run plays without a tree; empty before start.
    const QString& root() const { return m_root; }
    bool playsFromEmbedded() const;

private:
    bool open(const QString& parent);
    bool makePrivate();
    bool writeAll();
    void close();

    QString m_base;
    QString m_root;
    QString m_privateParent; // a fresh "Lotaro-XXXXXX" made for this run, if any
    std::thread m_writer;
    bool m_written = false;
    UniqueFd m_tree;
    std::vector<UniqueFd> m_subdirs;
};
