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
    // lines run to the corners, over the ends of the top and left ones.
    const struct {
        QColor topLeft, bottomRight;
    } rings[edge] = {{QColor(0xC0, 0xC0, 0xC0), Qt::black},
                     {Qt::white, QColor(0x80, 0x80, 0x80)},
                     {QColor(0xC0, 0xC0, 0xC0), QColor(0xC0, 0xC0, 0xC0)}};
    QPainter painter(this);
    for (int i = 0; i < edge; ++i) {
        const QRect r = rect().adjusted(i, i, -i, -i);
        painter.fillRect(r.left(), r.top(), r.width(), 1, rings[i].topLeft);
        painter.fillRect(r.left(), r.top(), 1, r.height(), rings[i].topLeft);
        painter.fillRect(r.right(), r.top(), 1, r.height(), rings[i].bottomRight);
        painter.fillRect(r.left(), r.bottom(), r.width(), 1, rings[i].bottomRight);
    }
}

void FramedDialog::showEvent(QShowEvent* event)
{
    // On X the dialog is made transient for the game's window group (the toolkit names its
    // group leader when a window has no transient parent) rather than for the board itself.
    // Window managers keep it above the board either way, but some place a dialog of a mapped
    // window themselves: GNOME centres a modal dialog on its parent, weston puts it where it
    // likes. A dialog of the group stands where the game put it. The dialog is not a window of
    // its own in the task bar.
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (connection && QGuiApplication::platformName() == u"xcb" && windowHandle()) {
        windowHandle()->setTransientParent(nullptr);
        const auto atom = [connection](std::string_view name) {
            xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
                connection,
                xcb_intern_atom(connection, 0, static_cast<uint16_t>(name.size()), name.data()),
                nullptr);
            const xcb_atom_t value = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
            std::free(reply);
            return value;
        };
        // Read and kept by the toolkit when it sets the window's state before mapping it.
        const xcb_atom_t skip[] = {atom("_NET_WM_STATE_SKIP_TASKBAR"),
                                   atom("_NET_WM_STATE_SKIP_PAGER")};
        xcb_change_property(connection, XCB_PROP_MODE_REPLACE, xcb_window_t(winId()),
                            atom("_NET_WM_STATE"), XCB_ATOM_ATOM, 32, 2, skip);
    }
    QDialog::showEvent(event);
}
