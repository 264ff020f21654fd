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
} // namespace AssetPaths
