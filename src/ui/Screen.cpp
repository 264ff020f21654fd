#include "Screen.h"

#include "core/Twips.h"

#include <QGuiApplication>
#include <QScreen>

namespace Screen {
QRect geometry()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry() : QRect(0, 0, 1024, 768);
}

ScreenMetrics metrics()
{
    const QRect g = geometry();
    return {Twips::fromPixels(g.width()), Twips::fromPixels(g.height()), Twips::perPixel,
            Twips::perPixel};
}
} // namespace Screen
