#include "Screen.h"

#include "core/Magnification.h"
#include "core/Twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QtGui/private/qhighdpiscaling_p.h>
#include <qpa/qplatformscreen.h>

#include <xcb/xcb.h>

namespace Screen {
namespace {
double decided = 1;

// Whether a repaint of the whole X screen goes to the server in one request. Asked on a
// connection of its own: the toolkit's is not open yet, and whether it uses shared memory is
// fixed when it opens.
bool screenFitsOneRequest()
{
    int number = 0;
    xcb_connection_t* connection = xcb_connect(nullptr, &number);
    bool fits = true;
    if (!xcb_connection_has_error(connection)) {
        xcb_screen_iterator_t screen = xcb_setup_roots_iterator(xcb_get_setup(connection));
        for (int i = 0; i < number && screen.rem; ++i)
            xcb_screen_next(&screen);
        if (screen.rem) {
            const quint64 bytes =
                quint64(screen.data->width_in_pixels) * screen.data->height_in_pixels * 4;
            // In four-byte units, with the server's big requests where it has them, as the
            // toolkit will use it.
            fits = bytes <= quint64(xcb_get_maximum_request_length(connection)) * 4;
        }
    }
    xcb_disconnect(connection);
    return fits;
}
} // namespace

// The toolkit hands every repaint to the X server in shared memory and has the server report
// when it is done with it: the clock's once-a-second repaint would wake two more threads each
// second. The game's repaints are small, and sent plainly they need no answer. Sent plainly,
// though, a repaint larger than one request is first copied, a request's worth of rows at a
// time, into a buffer the toolkit keeps for the rest of the run: on a 4K screen that is 16 MB
// on top of the window's own 33 MB, and the whole board travels through the socket. There the
// shared memory is worth its wake-ups.
bool chooseRepaintPath()
{
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (qEnvironmentVariableIsEmpty("DISPLAY") ||
        !(platform.isEmpty() || platform.startsWith("xcb")) ||
        qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM") || !screenFitsOneRequest())
        return false;
    qputenv("QT_XCB_NO_MITSHM", "1");
    return true;
}

// The toolkit's own scaling does the magnifying: it already multiplies every size by the
// desktop's scale, type and native controls included, and maps input back. Its global factor
// is the one the toolkit's QT_SCALE_FACTOR sets, which it multiplies with the desktop's scale;
// the game's factor is multiplied onto that. It must be set before any window exists.
double magnify(double forced)
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return decided;
    const QSize logical = screen->geometry().size();
    const double m = Magnification::forScreen(logical.width(), logical.height(), forced);
    if (m != 1) {
        const qreal global = QHighDpiScaling::factor(static_cast<const QScreen*>(nullptr));
        QHighDpiScaling::setGlobalFactor(global * m);
    }
    decided = m;
    return m;
}

double magnification()
{
    return decided;
}

QSize deviceSize()
{
    // The platform's own measure, before the toolkit's scaling rounded it to whole pixels;
    // a platform that scales natively (Wayland) gives it in its own larger pixels.
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen || !screen->handle())
        return geometry().size();
    const QPlatformScreen* platform = screen->handle();
    return (QSizeF(platform->geometry().size()) * platform->devicePixelRatio()).toSize();
}

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
