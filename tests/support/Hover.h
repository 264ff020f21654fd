#pragma once

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

// Moves the mouse over a widget without a button pressed. The event goes through the
// application, so it climbs to the first ancestor that tracks the mouse, as a real move does;
// QTest::mouseMove on the offscreen platform only reports the pointer entering a window.
inline void hoverOver(QWidget* widget, QPoint at = QPoint(3, 3))
{
    QMouseEvent move(QEvent::MouseMove, at, widget->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}
