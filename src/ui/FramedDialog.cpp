#include "FramedDialog.h"

#include "core/Twips.h"
#include "ui/WindowLook.h"

#include <QApplication>
#include <QPainter>
#include <QTimer>
#include <QWindow>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
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

// weston's window manager, which answers a different set of requests than the others.
bool underWeston(xcb_connection_t* connection, xcb_window_t root)
{
    const auto property = [connection](xcb_window_t window, xcb_atom_t name, xcb_atom_t type) {
        xcb_get_property_reply_t* reply = xcb_get_property_reply(
            connection, xcb_get_property(connection, 0, window, name, type, 0, 64), nullptr);
        QByteArray value = reply
                               ? QByteArray(static_cast<const char*>(xcb_get_property_value(reply)),
                                            xcb_get_property_value_length(reply))
                               : QByteArray();
        std::free(reply);
        return value;
    };
    const QByteArray check =
        property(root, atom(connection, "_NET_SUPPORTING_WM_CHECK"), XCB_ATOM_WINDOW);
    xcb_window_t manager = XCB_WINDOW_NONE;
    if (check.size() == sizeof manager)
        std::memcpy(&manager, check.constData(), sizeof manager);
    return manager != XCB_WINDOW_NONE && property(manager, atom(connection, "_NET_WM_NAME"),
                                                  atom(connection, "UTF8_STRING")) == "Weston WM";
}

// Asks the window manager to take a window out of the full-screen state (0) or into it (1).
void setFullScreenState(xcb_connection_t* connection, xcb_window_t root, xcb_window_t window,
                        uint32_t add)
{
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = atom(connection, "_NET_WM_STATE");
    message.data.data32[0] = add;
    message.data.data32[1] = atom(connection, "_NET_WM_STATE_FULLSCREEN");
    message.data.data32[3] = 1; // asked by the application
    xcb_send_event(connection, 0, root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&message));
}
} // namespace

FramedDialog::FramedDialog(QWidget* board, const QString& name, int widthTwips, int heightTwips)
    : QDialog(board, Qt::Dialog | Qt::FramelessWindowHint), m_client(new QWidget(this)),
      m_board(board)
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
    WindowLook::paintBackground(m_client, WindowLook::backgroundTile());
    if (x11Connection())
        qApp->installNativeEventFilter(this);
}

// A click on the board beside an open dialog makes some window managers and compositors (weston)
// activate the board and raise it over the dialog, where it would wait unseen. The toolkit only
// asks for the dialog to be activated, which weston ignores, so the focus is watched for here.
bool FramedDialog::nativeEventFilter(const QByteArray& type, void* message, qintptr*)
{
    if (type != "xcb_generic_event_t" || QApplication::activeModalWidget() != this || !m_board)
        return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    xcb_window_t target = XCB_WINDOW_NONE;
    switch (event->response_type & 0x7f) {
    case XCB_FOCUS_IN:
        if (reinterpret_cast<const xcb_focus_in_event_t*>(event)->mode == XCB_NOTIFY_MODE_NORMAL)
            target = reinterpret_cast<const xcb_focus_in_event_t*>(event)->event;
        break;
    case XCB_CLIENT_MESSAGE: {
        // The window manager hands the focus over (weston does, to the board).
        static const xcb_atom_t takeFocus = atom(x11Connection(), "WM_TAKE_FOCUS");
        const auto* m = reinterpret_cast<const xcb_client_message_event_t*>(event);
        if (m->format == 32 && m->data.data32[0] == takeFocus)
            target = m->window;
        break;
    }
    }
    if (target != XCB_WINDOW_NONE && target == m_board->internalWinId())
        QTimer::singleShot(0, this, [this] { bringBack(); });
    return false;
}

void FramedDialog::bringBack()
{
    raise();
    activateWindow();
    xcb_connection_t* connection = x11Connection();
    if (!connection)
        return;
    // weston answers no request to raise or activate a window, but it puts a window that is
    // mapped anew on top and activates it: a dialog still behind the board is withdrawn and
    // mapped again, where it stood.
    QTimer::singleShot(100, this, [this, connection] {
        if (QApplication::activeModalWidget() != this)
            return;
        xcb_get_input_focus_reply_t* focus =
            xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr);
        const bool focused = focus && focus->focus == xcb_window_t(winId());
        std::free(focus);
        if (focused)
            return;
        const xcb_window_t window = xcb_window_t(winId());
        const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
        xcb_query_tree_reply_t* tree =
            xcb_query_tree_reply(connection, xcb_query_tree(connection, window), nullptr);
        const xcb_window_t frame = tree ? tree->parent : root;
        std::free(tree);
        xcb_unmap_window(connection, window);
        xcb_unmap_notify_event_t withdrawn{};
        withdrawn.response_type = XCB_UNMAP_NOTIFY;
        withdrawn.event = root;
        withdrawn.window = window;
        xcb_send_event(connection, 0, root,
                       XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                       reinterpret_cast<const char*>(&withdrawn));
        // weston maps a window again where it last saw it (its frame's corner), unless told.
        xcb_configure_notify_event_t at{};
        at.response_type = XCB_CONFIGURE_NOTIFY;
        at.event = frame;
        at.window = window;
        at.x = int16_t(x());
        at.y = int16_t(y());
        at.width = uint16_t(width());
        at.height = uint16_t(height());
        xcb_send_event(connection, 0, frame, XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                       reinterpret_cast<const char*>(&at));
        xcb_map_window(connection, window);
        xcb_flush(connection);
    });
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
    if (!connection)
        return;
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    if (!visible) {
        // weston keeps its panel over a full-screen window once another window was active,
        // until the window is put into the full-screen state anew; the board already has the
        // screen's size, so leaving the state for a moment does not show.
        static const bool weston = underWeston(connection, root);
        // Once the compositor has let the dialog go, and unless another one opened meanwhile.
        if (weston && m_board)
            QTimer::singleShot(100, m_board, [connection, root, board = m_board.data()] {
                if (!board->isFullScreen() || !board->isVisible() ||
                    QApplication::activeModalWidget())
                    return;
                setFullScreenState(connection, root, xcb_window_t(board->winId()), 0);
                setFullScreenState(connection, root, xcb_window_t(board->winId()), 1);
                xcb_flush(connection);
            });
        return;
    }
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, xcb_window_t(winId()),
                        XCB_ATOM_WM_TRANSIENT_FOR, XCB_ATOM_WINDOW, 32, 1, &root);
    xcb_flush(connection);
}
