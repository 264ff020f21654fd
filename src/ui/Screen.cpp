#include "Screen.h"

#include "core/Twips.h"

#include <QEvent>
#include <QEventLoop>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>

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

namespace {
// An X server of a Wayland compositor: the compositor, not a window manager, stacks the
// windows, in the order they first show their contents. XWayland names its outputs XWAYLAND0,
// XWAYLAND1 and so on.
bool onXWayland()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return QGuiApplication::platformName() == u"xcb" && screen &&
           screen->name().startsWith(u"XWAYLAND");
}
} // namespace

void waitUntilExposed(QWidget* window)
{
    QWindow* handle = window->windowHandle();
    if (!handle || handle->isExposed() || !onXWayland())
        return;
    // Watches the window's expose event: the window paints itself right after the watcher has
    // seen it, before the loop ends.
    struct Watcher : QObject {
        QEventLoop loop;
        bool eventFilter(QObject*, QEvent* event) override
        {
            if (event->type() == QEvent::Expose)
                QTimer::singleShot(0, &loop, &QEventLoop::quit);
            return false;
        }
    } watcher;
    handle->installEventFilter(&watcher);
    QTimer::singleShot(1000, &watcher.loop, &QEventLoop::quit);
    watcher.loop.exec();
}
} // namespace Screen
