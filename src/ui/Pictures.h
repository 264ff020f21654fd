#pragma once

#include <QPixmap>
#include <QString>

enum class PictureLoad { Loaded, Missing, Undecodable };

struct LoadedPicture {
    PictureLoad status = PictureLoad::Missing;
    QPixmap picture; // null unless Loaded
};

// Loads a picture file at the size it will be shown at (logical pixels times the device pixel
// ratio, so it stays sharp), once; a larger file is reduced while it is decoded. A file that does
// not exist is told apart from one that exists but cannot be decoded (corrupt, truncated, not a
// picture, too large).
LoadedPicture loadPicture(const QString& path, QSize logicalSize, qreal devicePixelRatio);
