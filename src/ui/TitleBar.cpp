#include "TitleBar.h"

#include <QWidget>

void SetTitleBar(QWidget* window, bool show)
{
    const bool wasVisible = window->isVisible();
    const QRect geometry = window->geometry();
    // Changing the flags re-creates the native window, which hides it.
    window->setWindowFlag(Qt::FramelessWindowHint, !show);
    if (wasVisible) {
        window->setGeometry(geometry);
        window->show();
    }
    window->raise();
}
