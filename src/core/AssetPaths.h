#pragma once

#include <QString>

// Where the consumers find a picture or a sound: below tempPath in the unpacked tree, or in
// the executable itself when the game plays without a tree.
namespace AssetPaths {
// The tempPath of a run that plays from the embedded assets.
inline const QString embeddedRoot = QStringLiteral(":/");

QString facePicture(const QString& tempPath, const QString& ownSetDir, const QString& faceSet,
                    const QString& value);
QString backPicture(const QString& tempPath, const QString& backSet);
QString sound(const QString& tempPath, int number);
// Where the own set is read from: the executable's directory when it holds 1.jpg, otherwise
// the user's data directory ($XDG_DATA_HOME/Lotaro), as an installed game's directory is not
// the player's to write to.
QString ownSetDirectory(const QString& executableDir);
} // namespace AssetPaths
