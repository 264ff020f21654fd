#include "Pictures.h"

#include <QFileInfo>
#include <QImage>
#include <QImageReader>

PictureLoad loadPicture(const QString& path, QSize logicalSize, qreal dpr, QPixmap* out)
{
    const QFileInfo info(path);
    if (!info.exists())
        return PictureLoad::Missing;
    if (!info.isFile())
        return PictureLoad::Undecodable;

    QImageReader reader(path);
    // Card pictures are tiny; anything that would need more than this is not a card picture.
    reader.setAllocationLimit(64);
    QImage image;
    if (!reader.read(&image) || image.isNull())
        return PictureLoad::Undecodable;

    const QSize target = logicalSize * dpr;
    if (!target.isEmpty() && image.size() != target)
        image = image.scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    *out = QPixmap::fromImage(std::move(image));
    out->setDevicePixelRatio(dpr);
    return PictureLoad::Loaded;
}
