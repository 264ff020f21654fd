#pragma once

#include <QByteArray>
#include <QString>

#include <thread>
#include <vector>

// Turns the embedded pictures and sounds into files below the user's temporary directory for
// the length of a run, and removes them again at its end.
//
// The tree is private to the user and shared safely by copies of the game that run at the same
// time: each copy holds a shared lock on it, and only the last one to end removes it. Nothing
// planted in the temporary directory (links, foreign directories) is ever written through or
// deleted. When no tree can be made, the game plays from the embedded assets directly.
class AssetStore {
public:
    // baseDirectory: the directory to make the tree in; empty means GetTempDirectory().
    explicit AssetStore(QString baseDirectory = QString());
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

    // What the consumers put in front of "Lotaro/…"; the embedded root when no tree exists.
    QString tempPath() const { return m_tempPath; }
    bool playsFromEmbedded() const;

    // Writes the bytes of one embedded asset as a file of the directory, replacing what was
    // there at once, so that another copy reading it never sees half a file.
    static bool WriteResourceFile(int number, const QString& type, int directoryFd,
                                  const QString& fileName);

private:
    bool openTree(const QString& parent);
    bool makePrivateTree();
    bool writeAll();
    void closeTree();

    QString m_base;
    QString m_tempPath;
    QString m_privateParent; // a fresh "Lotaro-XXXXXX" made for this run, if any
    std::thread m_writer;
    bool m_written = false;
    int m_treeFd = -1;
    std::vector<int> m_subdirFds;
};
