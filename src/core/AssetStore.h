#pragma once

#include "core/GameSound.h"
#include "core/UniqueFd.h"

#include <QByteArray>
#include <QString>

#include <thread>
#include <vector>

// Turns the embedded pictures and sounds into files below the user's temporary directory for
// the length of a run, removes them again at its end, and tells the board where each picture
// and sound is to be read from.
//
// The tree is private to the user and shared safely by copies of the game that run at the same
// time: each copy holds a shared lock on it, and only the last one to end removes it. Nothing
// planted in the temporary directory (links, foreign directories) is ever written through or
// deleted. When no tree can be made, the game plays from the embedded assets directly.
class AssetStore {
public:
    // baseDirectory: the directory to make the tree in; empty means GetTempDirectory().
    // executableDirectory: where the own picture set is looked for first.
    explicit AssetStore(QString baseDirectory = QString(), QString executableDirectory = QString());
    ~AssetStore();
    AssetStore(const AssetStore&) = delete;
    AssetStore& operator=(const AssetStore&) = delete;

    // The user's private runtime directory when there is a safe one, otherwise the system's
    // temporary directory; always with a trailing "/".
    static QString GetTempDirectory();

    // Sets tempPath and writes all assets into tempPath + "Lotaro/…". Safe to call again.
    void UnpackAssets();
    // The same in two halves: the tree is made and tempPath set at once, the files are written
    // on a worker thread, and finishUnpacking waits for them (and falls back to the embedded
    // assets if they could not be written). Used to keep the writing off the way to the first
    // window; everything that reads the files calls finishUnpacking first.
    void startUnpacking();
    void finishUnpacking();
    // Removes the tree unless another running copy still uses it.
    void RemoveAssetTree();
    // Has RemoveAssetTree run also when the process ends through exit() while this store
    // lives, as a toolkit that loses its display ends it.
    void removeTreeAtExit();

    // Where the pictures and sounds are read from. A built-in file that is not in the tree
    // (not unpacked yet, or deleted under the running game by a temporary-file cleaner) is
    // answered with its copy inside the executable. The own set ("5") is read from
    // ownSetDirectory(). A card drawn with more device pixels than a built-in picture has is
    // answered with the executable's larger copy of it (the tree holds only the small ones).
    QString facePath(const QString& faceSet, const QString& value, int devicePixels = 0) const;
    QString backPath(const QString& backSet, int devicePixels = 0) const;
    QString soundPath(GameSound sound) const;
    // The executable's directory when it holds 1.jpg, otherwise the user's data directory
    // ($XDG_DATA_HOME/Lotaro), as an installed game's directory is not the player's to write to.
    QString ownSetDirectory() const;

    // The directory that holds the tree "Lotaro/", with a trailing "/"; the embedded root ":/"
    // when the game plays without a tree.
    QString tempPath() const { return m_tempPath; }
    bool playsFromEmbedded() const;

    // Writes the bytes of one embedded asset as a file of the directory, replacing what was
    // there at once, so that another copy reading it never sees half a file.
    static bool WriteResourceFile(int number, const QString& type, int directoryFd,
                                  const QString& fileName);

private:
    QString treeOrEmbedded(const QString& directory, const QString& fileName, const QString& type,
                           int number) const;
    QString pictureAt(const QString& directory, const QString& fileName, const QString& type,
                      int number, int devicePixels) const;
    bool openTree(const QString& parent);
    bool makePrivateTree();
    bool writeAll();
    void closeTree();

    QString m_base;
    QString m_executableDir;
    QString m_tempPath;
    QString m_privateParent; // a fresh "Lotaro-XXXXXX" made for this run, if any
    std::thread m_writer;
    bool m_written = false;
    UniqueFd m_tree;
    std::vector<UniqueFd> m_subdirs;
};
