#include "CardPicture.h"

#include <QMouseEvent>
#include <QPainter>

CardPicture::CardPicture(QWidget* parent) : QWidget(parent)
{
    setMouseTracking(true);
}

void CardPicture::setPicture(const QPixmap& picture)
{
    if (picture.cacheKey() == m_picture.cacheKey())
        return;
    m_picture = picture;
    setAttribute(Qt::WA_OpaquePaintEvent, !m_picture.isNull() && !m_picture.hasAlphaChannel());
    update();
}

void CardPicture::paintEvent(QPaintEvent*)
{
    if (m_picture.isNull())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(rect(), m_picture);
}

void CardPicture::mousePressEvent(QMouseEvent* event)
{
    m_click.press(event);
}

void CardPicture::mouseReleaseEvent(QMouseEvent* event)
{
    if (m_click.release(event, rect()))
        Q_EMIT clicked();
}

void CardPicture::mouseMoveEvent(QMouseEvent* event)
{
    // A card is not the window's background: moving over it leaves the menu's look alone.
    event->accept();
}
