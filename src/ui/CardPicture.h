#pragma once

#include "ui/ClickTracker.h"

#include <QPixmap>
#include <QWidget>

// A picture control that stretches its picture over its whole area and reports clicks. Only
// the control itself repaints when its picture changes.
class CardPicture : public QWidget {
    Q_OBJECT
public:
    explicit CardPicture(QWidget* parent = nullptr);

    void setPicture(const QPixmap& picture);
    const QPixmap& picture() const { return m_picture; }

Q_SIGNALS:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    QPixmap m_picture;
    ClickTracker m_click;
};
