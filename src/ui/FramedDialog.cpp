#include "FramedDialog.h"

#include "core/Twips.h"
#include "ui/WindowLook.h"

#include <QApplication>
#include <QHideEvent>
#include <QList>
#include <QPainter>
#include <QShowEvent>

using Twips::toPixels;

namespace {
// The dialogs open with exec(), innermost last.
QList<FramedDialog*> openDialogs;

// Keeps the mouse and the keys from every part of a window but its topmost dialog: the toolkit's
// own modality works between windows only.
class ModalInput : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (openDialogs.isEmpty() || !watched->isWidgetType() || !isInput(event->type()))
            return false;
        const auto* widget = static_cast<const QWidget*>(watched);
        const FramedDialog* top = openDialogs.last();
        return widget->window() == top->window() && widget != top && !top->isAncestorOf(widget);
    }

private:
    static bool isInput(QEvent::Type type)
    {
        switch (type) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::Wheel:
        case QEvent::Enter:
        case QEvent::HoverEnter:
        case QEvent::HoverMove:
        case QEvent::ContextMenu:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::TabletPress:
        case QEvent::TabletMove:
        case QEvent::TabletRelease:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::Drop:
            return true;
        default:
            return false;
        }
    }
};

void watchInput(bool on)
{
    static ModalInput* filter = nullptr;
    if (on && !filter) {
        filter = new ModalInput;
        qApp->installEventFilter(filter);
    } else if (!on && filter) {
        delete filter;
        filter = nullptr;
    }
}
} // namespace

FramedDialog::FramedDialog(QWidget* board, const QString& name, int widthTwips, int heightTwips)
    : QDialog(board, Qt::Dialog | Qt::FramelessWindowHint), m_client(new QWidget(this))
{
    // A dialog of its own toolkit type is always a window; inside the board it is a widget.
    setParent(board, Qt::Widget);
    setObjectName(name);
    setWindowTitle(QStringLiteral("Lotaro"));
    setFont(WindowLook::comicFont(8.25));
    // Drawn whole by the dialog itself: what lies under it is not painted first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    const QSize client(toPixels(widthTwips), toPixels(heightTwips));
    setFixedSize(client + QSize(2 * edge, 2 * edge));
    setMouseTracking(true);
    m_client->setObjectName(QStringLiteral("KlientskáOblast"));
    m_client->setGeometry(QRect(QPoint(edge, edge), client));
    // Moves over the bare client area pass on to the dialog, which tells the bare window apart.
    m_client->setMouseTracking(true);
    WindowLook::paintBackground(m_client, WindowLook::backgroundTile());
}

FramedDialog::~FramedDialog()
{
    leaveModal();
}

FramedDialog* FramedDialog::topmost()
{
    return openDialogs.isEmpty() ? nullptr : openDialogs.last();
}

bool FramedDialog::closeTopmost()
{
    FramedDialog* open = topmost();
    if (open)
        open->close();
    return open;
}

void FramedDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // A board brought back from the task bar shows its dialog again; it never stopped being open.
    if (event->spontaneous() || !testAttribute(Qt::WA_ShowModal) || openDialogs.contains(this))
        return;
    openDialogs.append(this);
    watchInput(true);
    raise();
    // The keys come to the dialog: to the control it chose, or its first control that takes
    // them, else to the dialog itself, which ends whatever it does not use.
    m_focusBefore = QApplication::focusWidget();
    QWidget* first = focusWidget() && isAncestorOf(focusWidget()) ? focusWidget() : this;
    for (QWidget* w = nextInFocusChain(); first == this && w != this; w = w->nextInFocusChain())
        if (isAncestorOf(w) && w->isVisibleTo(this) && w->isEnabled() &&
            (w->focusPolicy() & Qt::TabFocus))
            first = w;
    first->setFocus(Qt::ActiveWindowFocusReason);
}

void FramedDialog::hideEvent(QHideEvent* event)
{
    if (!event->spontaneous()) // not when the board is only minimised
        leaveModal();
    QDialog::hideEvent(event);
}

void FramedDialog::leaveModal()
{
    if (!openDialogs.removeOne(this))
        return;
    if (openDialogs.isEmpty())
        watchInput(false);
    // The keys go back where they went before; the board itself takes them where nothing did.
    QWidget* keys = m_focusBefore && m_focusBefore->isVisible() ? m_focusBefore.data() : window();
    keys->setFocus(Qt::ActiveWindowFocusReason);
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
