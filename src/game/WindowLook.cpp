#include "WindowLook.h"

#include "assets/AssetCatalogue.h"
#include "platform/Screen.h"
#include "platform/Twips.h"

#include <QApplication>
#include <QFontDatabase>
#include <QIcon>
#include <QLabel>
#include <QPainter>
#include <QPalette>

#include <cmath>

namespace WindowLook {
void installLook()
{
    AssetCatalogue::ensureRegistered();
    // The embedded copy is registered only where the machine lacks the font: parsing four font
    // files is the dearest step on the way to the first window.
    if (!QFontDatabase::hasFamily(QStringLiteral("Comic Sans MS")) &&
        !QFontDatabase::hasFamily(QStringLiteral("Comic Neue"))) {
        for (const char* name : {"Regular", "Bold", "Italic", "BoldItalic"})
            QFontDatabase::addApplicationFont(QStringLiteral(":/fonts/ComicNeue-") +
                                              QLatin1String(name) + QStringLiteral(".otf"));
    }
    QFont::insertSubstitution(QStringLiteral("Comic Sans MS"), QStringLiteral("Comic Neue"));
    // The window's own icon needs only the small sizes; the desktop takes the installed ones.
    QIcon icon;
    for (int size : {16, 32, 48})
        icon.addFile(QStringLiteral(":/icons/lotaro-%1.png").arg(size), QSize(size, size));
    QApplication::setWindowIcon(icon);
}

QFont comicFont(double pointSize, bool bold, bool italic)
{
    QFont font(QStringLiteral("Comic Sans MS"));
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    font.setItalic(italic);
    return font;
}

QPixmap backgroundTile()
{
    AssetCatalogue::ensureRegistered();
    static const QPixmap tile(QStringLiteral(":/pozadi/pozadi.gif"));
    return tile;
}

void paintBackground(QWidget* window, const QPixmap& tile)
{
    // Tiles beyond the window's client area would be clipped away, so the retained image is
    // only as large as the window.
    const QSize area = window->size().isEmpty() ? Screen::geometry().size() : window->size();
    QPixmap backdrop(area);
    if (tile.isNull()) {
        backdrop.fill(QColor(0xB6, 0xB4, 0xB5));
    } else {
        const int nx = static_cast<int>(std::ceil(double(area.width()) / tile.width()));
        const int ny = static_cast<int>(std::ceil(double(area.height()) / tile.height()));
        QPainter painter(&backdrop);
        for (int i = 0; i < nx; ++i)
            for (int j = 0; j < ny; ++j)
                painter.drawPixmap(i * tile.width(), j * tile.height(), tile);
    }
    QPalette palette = window->palette();
    palette.setBrush(QPalette::Window, QBrush(backdrop));
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
