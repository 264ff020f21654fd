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
    return metrics(geometry().size());
}

ScreenMetrics metrics(QSize area)
{
    return {Twips::fromPixels(area.width()), Twips::fromPixels(area.height()), Twips::perPixel,
            Twips::perPixel};
}

} // namespace Screen
