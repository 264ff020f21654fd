#pragma once

#include <QMouseEvent>
#include <QRect>

// A click is a press and a release of the left button, both inside the control.
class ClickTracker {
public:
    void press(QMouseEvent* event)
    {
        if (event->button() == Qt::LeftButton)
            m_pressed = true;
        event->accept();
    }

    // True when this release completes a click.
    bool release(QMouseEvent* event, const QRect& area)
    {
        const bool wasPressed = m_pressed;
        m_pressed = false;
        event->accept();
        return wasPressed && event->button() == Qt::LeftButton &&
               area.contains(event->position().toPoint());
    }

private:
    bool m_pressed = false;
};
