#include "Pictures.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>

namespace {
// A card picture is 90 x 90 pixels, a few dozen kilobytes in any format even with a colour
// profile. A file this size is something else (a planted 2 GiB file kept the game busy for
// seconds while image formats were tried on it), yet a photo the player did not shrink first
// still loads.
constexpr qint64 largestPictureFile = 16 * 1024 * 1024;
} // namespace

LoadedPicture loadPicture(const QString& path, QSize logicalSize, qreal dpr)
{
    const QFileInfo info(path);
    if (!info.exists())
        return {PictureLoad::Missing, {}};
    // Not a regular file (a directory, a pipe that would block the reader, a device): no picture.
    if (!info.isFile() || info.size() > largestPictureFile)
        return {PictureLoad::Undecodable, {}};

    // The reader takes from the open file only what decoding needs.
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {PictureLoad::Undecodable, {}};
    QImageReader reader(&file);
    // Card pictures are tiny; anything that would need more than this is not a card picture.
    reader.setAllocationLimit(64);
    // A player's photo straight from the camera is decoded at the card's size (JPEG scales
    // while it decodes), not at its own: a full-size decode of forty of them held up the deal
    // for seconds and took a hundred megabytes.
    const QSize target = logicalSize * dpr;
    if (!target.isEmpty() && reader.size() != target) {
        reader.setScaledSize(target);
        reader.setQuality(100); // a smooth reduction of what is left after decoding
    }
    QImage image;
    if (!reader.read(&image) || image.isNull())
        return {PictureLoad::Undecodable, {}};

    if (!target.isEmpty() && image.size() != target)
        image = image.scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    // An opaque picture is kept at three bytes a pixel rather than the four it would be turned
    // into for drawing: the forty faces of a board on a 4K screen hold 7 MB instead of 9.5. The
    // few hundred pixels a card is wide are converted as they are drawn.
    if (!image.hasAlphaChannel())
        image.convertTo(QImage::Format_RGB888);
    LoadedPicture loaded{PictureLoad::Loaded,
                         QPixmap::fromImage(std::move(image), Qt::NoFormatConversion)};
    loaded.picture.setDevicePixelRatio(dpr);
    return loaded;
}
