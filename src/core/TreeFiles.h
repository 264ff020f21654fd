#pragma once

#include "core/UniqueFd.h"

#include <QByteArray>
#include <QString>

// The file-system steps that the asset tree is made, filled and removed with. Each works on
// directory handles and never follows a link, so nothing planted in a shared temporary
// directory (links, someone else's directories) is written through or deleted.
namespace TreeFiles {
QByteArray local(const QString& path);

UniqueFd openDirectory(const QString& path);
// Makes the directory if it is not there and opens it, when it is ours alone: really a
// directory (not a link), owned by this user, and closed to others from now on.
UniqueFd openPrivateDirectory(int parentFd, const char* name);
// Whether the name in the directory is still the very directory that is held open.
bool isSameDirectory(int heldFd, int parentFd, const char* name);

// Writes the bytes of one embedded asset as a file of the directory, replacing what was there
// at once, so that another copy reading it never sees half a file.
bool writeResourceFile(int number, const QString& type, int directoryFd, const QString& fileName);

// Deletes the game's own files of one subdirectory of the tree and then the subdirectory, if
// that left it empty.
void removeSubdirectory(int treeFd, const QString& directory);
// Removes the "Lotaro-XXXXXX" trees that killed runs of this user left in the directory.
void removeStaleTrees(const QString& base);

// Makes what the removal reads before an exit handler is registered: exit handlers and the
// destructors of statics run in the reverse order of their making, so it is still there when
// the handler runs.
void prepareRemovalAtExit();
} // namespace TreeFiles
