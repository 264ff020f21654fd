#include "ModalClickGuard.h"

#include <QApplication>
#include <QStyleHints>
#include <QWidget>

ModalClickGuard::ModalClickGuard(QWidget* window) : QObject(window), m_window(window)
{
    qApp->installEventFilter(this);
}

bool ModalClickGuard::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::Hide) {
        if (auto* w = qobject_cast<QWidget*>(watched); w && w->isModal())
            m_modalClosed.start();
    } else if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick) {
        if (auto* w = qobject_cast<QWidget*>(watched); w && w->window() == m_window)
            m_tooSoon =
                m_modalClosed.isValid() &&
                m_modalClosed.elapsed() < QGuiApplication::styleHints()->mouseDoubleClickInterval();
    }
    return false;
}
