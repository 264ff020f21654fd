#include "WindowLook.h"

#include "core/AssetCatalogue.h"
#include "core/Twips.h"
#include "ui/Screen.h"

#include <QApplication>
#include <QFontDatabase>
#include <QIcon>
#include <QImageReader>
#include <QLabel>
#include <QPainter>
#include <QPalette>
#include <QPixmapCache>

namespace WindowLook {
namespace {
const QColor grey(0x80, 0x80, 0x80);

// The colours of the standard scheme, whatever the desktop's own: the windows paint their own
// light texture, and a dark scheme's near-white text or dark fills would vanish on it or hide
// what they hold. Disabled text (the board's panel while a dialog is open) keeps the classic
// grey; the toolkit's own disabled grey is as light as the tile.
QPalette standardPalette()
{
    const QColor face(0xC0, 0xC0, 0xC0);
    const struct {
        QPalette::ColorRole role;
        QColor colour;
    } roles[] = {{QPalette::WindowText, Qt::black},
                 {QPalette::Button, face},
                 {QPalette::Light, Qt::white},
                 {QPalette::Midlight, QColor(0xDF, 0xDF, 0xDF)},
                 {QPalette::Dark, grey},
                 {QPalette::Mid, QColor(0xA0, 0xA0, 0xA0)},
                 {QPalette::Text, Qt::black},
                 {QPalette::BrightText, Qt::white},
                 {QPalette::ButtonText, Qt::black},
                 {QPalette::Base, Qt::white},
                 {QPalette::Window, face},
                 {QPalette::Shadow, Qt::black},
                 {QPalette::Highlight, QColor(0x00, 0x00, 0x80)},
                 {QPalette::HighlightedText, Qt::white},
                 {QPalette::Link, QColor(0x00, 0x00, 0xFF)},
                 {QPalette::LinkVisited, QColor(0x80, 0x00, 0x80)},
                 {QPalette::AlternateBase, QColor(0xF0, 0xF0, 0xF0)},
                 {QPalette::ToolTipBase, QColor(0xFF, 0xFF, 0xE1)},
                 {QPalette::ToolTipText, Qt::black},
                 {QPalette::PlaceholderText, grey}};
    QPalette palette;
    for (const auto& r : roles)
        palette.setColor(r.role, r.colour);
    for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(QPalette::Disabled, role, grey);
    palette.setColor(QPalette::Disabled, QPalette::Base, face);
    return palette;
}

// "Comic Sans MS" where the machine has it, else Comic Neue. The embedded copy is registered
// only where the machine lacks that too: parsing four font files is the dearest step on the way
// to the first window. The families are looked up in the list rather than with hasFamily(),
// which asks fontconfig to resolve every name it does not know as an alias, at the cost of the
// whole database again.
QString chooseFamily()
{
    AssetCatalogue::ensureRegistered();
    const QStringList families = QFontDatabase::families();
    if (families.contains(QStringLiteral("Comic Sans MS")))
        return QStringLiteral("Comic Sans MS");
    if (!families.contains(QStringLiteral("Comic Neue"))) {
        for (const char* name : {"Regular", "Bold", "Italic", "BoldItalic"})
            QFontDatabase::addApplicationFont(QStringLiteral(":/fonts/ComicNeue-") +
                                              QLatin1String(name) + QStringLiteral(".otf"));
    }
    // Fonts name the family that is there, so no font load goes through a substitution.
    return QStringLiteral("Comic Neue");
}

// Chosen on the first text the game sets, and the same for the rest of the run.
const QString& comicFamily()
{
    static const QString family = chooseFamily();
    return family;
}
} // namespace

QPixmap embeddedPicture(const QString& path, const char* format)
{
    // The game's own pictures are of a known format. Left to guess, the image reader would
    // load every image plugin there is to ask each whether it knows the file.
    QImageReader reader(path, format);
    reader.setAutoDetectImageFormat(false);
    return QPixmap::fromImage(reader.read());
}

void installLook()
{
    AssetCatalogue::ensureRegistered();
    // A widget lays out its text with the default font the moment it is made, before its
    // window's font reaches it; with the game's own everyday font as the default, no font of
    // the desktop is loaded only to be dropped again.
    QApplication::setFont(comicFont(8.25));
    // The few native controls (option buttons, name boxes) are drawn by the toolkit's own
    // style rather than the desktop's, which may draw them for a dark scheme whatever colours
    // they are given.
    QApplication::setStyle(QStringLiteral("Fusion"));
    QApplication::setPalette(standardPalette());
    // The window's own icon needs only the small sizes; the desktop takes the installed ones.
    QIcon icon;
    for (int size : {16, 32, 48})
        icon.addPixmap(embeddedPicture(QStringLiteral(":/icons/lotaro-%1.png").arg(size), "png"));
    QApplication::setWindowIcon(icon);
}

QFont comicFont(double pointSize, bool bold, bool italic)
{
    QFont font(comicFamily());
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    font.setItalic(italic);
    return font;
}

namespace {
QPixmap readBackgroundTile(qreal dpr)
{
    AssetCatalogue::ensureRegistered();
    // On a screen with more device pixels than logical ones the tile is read from the smallest
    // of its larger copies that need not be enlarged, at the device size it covers there.
    if (dpr <= 1)
        return embeddedPicture(QStringLiteral(":/pozadi/pozadi.gif"), "gif");
    const QSize device = QSize(80, 79) * dpr;
    const int factor = AssetCatalogue::pictureFactor(80, device.width());
    QImageReader reader(QStringLiteral(":/pozadi/pozadi@%1x.gif").arg(factor), "gif");
    reader.setAutoDetectImageFormat(false);
    if (device != QSize(80, 79) * factor) {
        reader.setScaledSize(device);
        reader.setQuality(100);
    }
    QPixmap tile = QPixmap::fromImage(reader.read());
    tile.setDevicePixelRatio(dpr);
    return tile;
}
} // namespace

QPixmap backgroundTile()
{
    // One copy keeps the laid tile below scaled once per screen, not once per window.
    const qreal dpr = qGuiApp->devicePixelRatio();
    const QString key = QStringLiteral("lotaro-tile@") + QString::number(dpr);
    QPixmap tile;
    if (!QPixmapCache::find(key, &tile)) {
        tile = readBackgroundTile(dpr);
        QPixmapCache::insert(key, tile);
    }
    return tile;
}

namespace {
// The tile in whole device pixels: scaled once to its size on the window's device and drawn
// without any further scaling. Left to the toolkit, a magnified tile is resampled at a
// fractional step on every repaint, and where a repaint meets what was painted before, the
// two samplings disagree in a line. Smooth scaling takes the pixels beyond a picture's edge to
// be the edge's own, which would show as a seam at every tile boundary: the tile is scaled
// among copies of itself, and the middle one is kept.
QPixmap scaledTile(const QPixmap& tile, QSize device)
{
    const QImage source = tile.toImage();
    QImage around(source.size() * 3, QImage::Format_RGB32);
    {
        QPainter painter(&around);
        for (int i = 0; i < 9; ++i)
            painter.drawImage(i % 3 * source.width(), i / 3 * source.height(), source);
    }
    const QImage scaled =
        around.scaled(device * 3, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return QPixmap::fromImage(scaled.copy(QRect(QPoint(device.width(), device.height()), device)));
}

QBrush laidTile(const QWidget* window, const QPixmap& tile)
{
    const qreal dpr = window->devicePixelRatioF();
    const QSize device = (tile.deviceIndependentSize() * dpr).toSize();
    // A brush is laid pixel for pixel only when its picture has the window's very pixel ratio:
    // one a rounding apart, or one carried by the brush's transform, is scaled again as it is
    // drawn (coarser, and slowly). Every window lays the same tile on the same screen.
    static struct {
        qint64 key = 0;
        QSize size;
        qreal dpr = 0;
        QPixmap laid;
    } cache;
    if (cache.key != tile.cacheKey() || cache.size != device || cache.dpr != dpr) {
        cache = {tile.cacheKey(), device, dpr,
                 tile.size() == device ? tile : scaledTile(tile, device)};
        cache.laid.setDevicePixelRatio(dpr);
    }
    return QBrush(cache.laid);
}
} // namespace

void paintBackground(QWidget* window, const QPixmap& tile)
{
    // The tile itself is the window's background brush: the toolkit lays it from the window's
    // origin at the tile's own size and repaints just the part that needs it, which draws the
    // same picture as tiling the whole screen into a retained image, without keeping a
    // screen-sized image per window. The window's own palette sets every colour drawn on it.
    QPalette palette = standardPalette();
    palette.setBrush(QPalette::Window,
                     tile.isNull() ? QBrush(QColor(0xB6, 0xB4, 0xB5)) : laidTile(window, tile));
    window->setPalette(palette);
    window->setAutoFillBackground(true);
}

void setForeColour(QLabel* label, const QColor& colour)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::Active, QPalette::WindowText, colour);
    palette.setColor(QPalette::Inactive, QPalette::WindowText, colour);
    label->setPalette(palette);
}

QColor workspaceGrey()
{
    return grey;
}

void placeDialog(QWidget* dialog, int cardSize)
{
    const QRect screen = Screen::geometry();
    const double width = Twips::fromPixels(screen.width());
    const double height = Twips::fromPixels(screen.height());
    const double left = (width - Twips::fromPixels(dialog->width()) - 1.2 * cardSize) / 2;
    const double top = (height - Twips::fromPixels(dialog->height())) / 2;
    // The dialog lies inside the board, where that point of the screen is on the board.
    dialog->move(dialog->parentWidget()->mapFromGlobal(
        QPoint(screen.x() + Twips::toPixels(left), screen.y() + Twips::toPixels(top))));
}

void centreOnScreen(QWidget* dialog)
{
    placeDialog(dialog, 0);
}
} // namespace WindowLook
