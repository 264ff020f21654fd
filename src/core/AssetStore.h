#pragma once

#include "core/GameSound.h"

#include <QString>

#include <memory>

class AssetTree;

// Tells the board where each picture and sound is to be read from: the run's unpacked tree
// below the user's temporary directory, the copy inside the executable, or the player's own
// set. It owns the run's AssetTree, which makes that tree and removes it again.
class AssetStore {
public:
    // baseDirectory: the directory to make the tree in; empty means the user's temporary one.
    // executableDirectory: where the own picture set is looked for first.
    explicit AssetStore(QString baseDirectory = QString(), QString executableDirectory = QString());
    ~AssetStore();
    AssetStore(const AssetStore&) = delete;
    AssetStore& operator=(const AssetStore&) = delete;

    // The tree is made at once and its files written on a worker thread, to keep the writing off
    // the way to the first window; finishUnpacking waits for them (and falls back to the
    // embedded assets if they could not be written). Safe to call again.
    void startUnpacking();
    void finishUnpacking();
    // Removes the tree unless another running copy still uses it.
    void RemoveAssetTree();
    // Has RemoveAssetTree run also when the process ends through exit() while this store lives.
    void removeTreeAtExit();

    // A built-in file that is not in the tree (not unpacked yet, or deleted under the running
    // game by a temporary-file cleaner) is answered with its copy inside the executable. The own
    // set ("5") is read from the executable's directory when it holds 1.jpg, otherwise from the
    // user's data directory. A card drawn with more device pixels than a built-in picture has is
    // answered with the executable's larger copy of it (the tree holds only the small ones).
    QString facePath(const QString& faceSet, const QString& value, int devicePixels = 0) const;
    QString backPath(const QString& backSet, int devicePixels = 0) const;
    QString soundPath(GameSound sound) const;

    // For tests and the bench only.
    // startUnpacking and finishUnpacking in one.
    void UnpackAssets();
    // The directory that holds the tree "Lotaro/", with a trailing "/"; the embedded root ":/"
    // when the game plays without a tree.
    QString tempPath() const;
    // Writes one embedded asset as a file of the directory, replacing what was there at once.
    static bool WriteResourceFile(int number, const QString& type, int directoryFd,
                                  const QString& fileName);

private:
    QString ownSetDirectory() const;
    QString treeOrEmbedded(const QString& directory, const QString& fileName, const QString& type,
                           int number) const;
    QString pictureAt(const QString& directory, const QString& fileName, const QString& type,
                      int number, int devicePixels) const;

    QString m_executableDir;
    std::unique_ptr<AssetTree> m_tree;
};
