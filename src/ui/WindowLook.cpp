#include "WindowLook.h"

#include "core/AssetCatalogue.h"
#include "ui/Screen.h"
#include "core/Twips.h"

#include <QApplication>
#include <QFontDatabase>
#include <QIcon>
#include <QImageReader>
#include <QLabel>
#include <QPalette>

namespace WindowLook {
namespace {
const QColor disabledGrey(0x80, 0x80, 0x80);

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
    // Disabled labels (the board's panel while a dialog is open) keep the classic grey text;
    // the toolkit's own disabled grey is as light as the tile and would make them vanish.
    QPalette palette = QApplication::palette();
    palette.setColor(QPalette::Disabled, QPalette::WindowText, disabledGrey);
    QApplication::setPalette(palette);
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

QPixmap backgroundTile(const QWidget* board)
{
    // The board keeps the tile in its hidden picture control for as long as it lives; the
    // dialogs share that copy. A window opened without the board reads its own.
    if (board) {
        if (const QLabel* picture =
                board->findChild<QLabel*>(QStringLiteral("picPozadí"), Qt::FindDirectChildrenOnly))
            return picture->pixmap();
    }
    AssetCatalogue::ensureRegistered();
    return embeddedPicture(QStringLiteral(":/pozadi/pozadi.gif"), "gif");
}

void paintBackground(QWidget* window, const QPixmap& tile)
{
    // The tile itself is the window's background brush: the toolkit lays it from the window's
    // origin at the tile's own size and repaints just the part that needs it, which draws the
    // same picture as tiling the whole screen into a retained image, without keeping a
    // screen-sized image per window.
    QPalette palette = window->palette();
    palette.setBrush(QPalette::Window,
                     tile.isNull() ? QBrush(QColor(0xB6, 0xB4, 0xB5)) : QBrush(tile));
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
    return QApplication::palette().color(QPalette::Active, QPalette::Dark);
}

void placeDialog(QWidget* dialog, int cardSize)
{
    const QRect screen = Screen::geometry();
    const double width = Twips::fromPixels(screen.width());
    const double height = Twips::fromPixels(screen.height());
    const double left = (width - Twips::fromPixels(dialog->width()) - 1.2 * cardSize) / 2;
    const double top = (height - Twips::fromPixels(dialog->height())) / 2;
    dialog->move(screen.x() + Twips::toPixels(left), screen.y() + Twips::toPixels(top));
}

void centreOnScreen(QWidget* dialog)
{
    placeDialog(dialog, 0);
}
} // namespace WindowLook
