#include "ActionLabel.h"

#include <QMouseEvent>

ActionLabel::ActionLabel(const QString& text, QWidget* parent) : QLabel(text, parent)
{
    setMouseTracking(true);
    setLineWidth(1);
}

void ActionLabel::setHighlighted(bool on)
{
    if (m_highlighted == on)
        return;
    m_highlighted = on;
    QFont f = font();
    f.setBold(on);
    setFont(f);
    setFrameStyle(on ? QFrame::Box | QFrame::Plain : QFrame::NoFrame);
    fit();
}

void ActionLabel::setFitsText(bool fits, int fixedHeight)
{
    m_fitsText = fits;
    m_fixedHeight = fixedHeight;
    fit();
}

void ActionLabel::fit()
{
    if (!m_fitsText)
        return;
    // Measuring the caption loads its font. A label kept hidden (the board's menu before the
    // first deal) is measured when it is shown, off the way to the first window.
    if (isHidden()) {
        m_fitPending = true;
        return;
    }
    m_fitPending = false;
    const QSize hint = sizeHint();
    resize(hint.width(), m_fixedHeight > 0 ? m_fixedHeight : hint.height());
}

bool ActionLabel::event(QEvent* event)
{
    if (event->type() == QEvent::ShowToParent && m_fitPending)
        fit();
    return QLabel::event(event);
}

void ActionLabel::mousePressEvent(QMouseEvent* event)
{
    m_click.press(event);
}

void ActionLabel::mouseReleaseEvent(QMouseEvent* event)
{
    if (m_click.release(event, rect()))
        Q_EMIT clicked();
}

void ActionLabel::mouseMoveEvent(QMouseEvent* event)
{
    // Taken here, so that the window underneath does not treat it as a move over its background.
    event->accept();
    Q_EMIT hovered();
}
