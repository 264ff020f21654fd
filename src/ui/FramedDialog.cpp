#include "FramedDialog.h"

#include "core/Twips.h"
#include "ui/WindowLook.h"

#include <QGuiApplication>
#include <QPainter>
#include <QWindow>

#include <xcb/xcb.h>

#include <cstdlib>
#include <string_view>

using Twips::toPixels;

namespace {
// The X connection where the game runs on X, else none.
xcb_connection_t* x11Connection()
{
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 && QGuiApplication::platformName() == u"xcb" ? x11->connection() : nullptr;
}

xcb_atom_t atom(xcb_connection_t* connection, std::string_view name)
{
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, static_cast<uint16_t>(name.size()), name.data()),
        nullptr);
    const xcb_atom_t value = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    return value;
}
} // namespace

FramedDialog::FramedDialog(QWidget* board, const QString& name, int widthTwips, int heightTwips)
    : QDialog(board, Qt::Dialog | Qt::FramelessWindowHint), m_client(new QWidget(this))
{
    setObjectName(name);
    setWindowTitle(QStringLiteral("Lotaro"));
    setFont(WindowLook::comicFont(8.25));
    const QSize client(toPixels(widthTwips), toPixels(heightTwips));
    setFixedSize(client + QSize(2 * edge, 2 * edge));
    setMouseTracking(true);
    m_client->setObjectName(QStringLiteral("KlientskáOblast"));
    m_client->setGeometry(QRect(QPoint(edge, edge), client));
    // Moves over the bare client area pass on to the dialog, which tells the bare window apart.
    m_client->setMouseTracking(true);
    WindowLook::paintBackground(m_client, WindowLook::backgroundTile(board));
}

bool FramedDialog::isBare(QPoint at) const
{
    const QWidget* under = childAt(at);
    return under == nullptr || under == m_client;
}

void FramedDialog::paintEvent(QPaintEvent*)
{
    // Two rings lit from the top left, then a ring of the dialog grey; the bottom and right
    // lines run to the corners, over the ends of the top and left ones. The rings are drawn
    // in device pixels, each a whole number of them, so that a magnified edge stays sharp and
    // together they reach to where the client area begins.
    const struct {
        QColor topLeft, bottomRight;
    } rings[edge] = {{QColor(0xC0, 0xC0, 0xC0), Qt::black},
                     {Qt::white, QColor(0x80, 0x80, 0x80)},
                     {QColor(0xC0, 0xC0, 0xC0), QColor(0xC0, 0xC0, 0xC0)}};
    const qreal dpr = devicePixelRatioF();
    const int device = qRound(edge * dpr);
    QPainter painter(this);
    painter.setWorldTransform(QTransform::fromScale(1 / dpr, 1 / dpr));
    const QRect whole(QPoint(), (QSizeF(size()) * dpr).toSize());
    // Magnified, the client area may end a device pixel short of the rings: the inner ring's
    // grey fills that pixel rather than the toolkit's window colour.
    painter.fillRect(whole, rings[edge - 1].topLeft);
    for (int i = 0; i < edge; ++i) {
        const int from = device * i / edge;
        const int w = device * (i + 1) / edge - from;
        const QRect r = whole.adjusted(from, from, -from, -from);
        painter.fillRect(r.left(), r.top(), r.width(), w, rings[i].topLeft);
        painter.fillRect(r.left(), r.top(), w, r.height(), rings[i].topLeft);
        painter.fillRect(r.right() + 1 - w, r.top(), w, r.height(), rings[i].bottomRight);
        painter.fillRect(r.left(), r.bottom() + 1 - w, r.width(), w, rings[i].bottomRight);
    }
}

// On X, a dialog of the board, one that the window manager may place itself, is a problem:
// GNOME centres a modal dialog on the window it belongs to, weston puts it where it likes. The
// dialogs are therefore made modal for the game's window group, which keeps them above the
// board just as well, and window managers leave them where the game puts them. The group
// leader, which the toolkit names when a dialog has no transient parent, is read when the dialog
// is mapped; the root window, the usual name of the whole group, follows at once for window
// managers that take only that one. The dialogs stay out of the task bar.
void FramedDialog::showEvent(QShowEvent* event)
{
    if (xcb_connection_t* connection = x11Connection(); connection && windowHandle()) {
        windowHandle()->setTransientParent(nullptr);
        // Read and kept by the toolkit when it sets the window's state before mapping it.
        const xcb_atom_t skip[] = {atom(connection, "_NET_WM_STATE_SKIP_TASKBAR"),
                                   atom(connection, "_NET_WM_STATE_SKIP_PAGER")};
        xcb_change_property(connection, XCB_PROP_MODE_REPLACE, xcb_window_t(winId()),
                            atom(connection, "_NET_WM_STATE"), XCB_ATOM_ATOM, 32, 2, skip);
    }
    QDialog::showEvent(event);
}

void FramedDialog::setVisible(bool visible)
{
    QDialog::setVisible(visible);
    xcb_connection_t* connection = x11Connection();
    if (!visible || !connection)
        return;
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, xcb_window_t(winId()),
                        XCB_ATOM_WM_TRANSIENT_FOR, XCB_ATOM_WINDOW, 32, 1, &root);
    xcb_flush(connection);
}
