#include "frmNeexistuje.h"

#include "game/ActionLabel.h"
#include "game/WindowLook.h"
#include "platform/Twips.h"

#include <QLabel>

using Twips::toPixels;

frmNeexistuje::frmNeexistuje(QWidget* board, int cardSize, const QPixmap& tile)
    : QDialog(board, Qt::Dialog | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("frmNeexistuje"));
    setWindowTitle(QStringLiteral("Lotaro"));
    setFont(WindowLook::comicFont(8.25));
    setFixedSize(toPixels(4380), toPixels(1380));
    setMouseTracking(true);

    Label1 = new QLabel(QStringLiteral("Požadovaná sada obrázků neexistuje."), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setFont(WindowLook::comicFont(12));
    Label1->move(toPixels(210), toPixels(210));
    Label1->adjustSize();

    lblOK = new ActionLabel(QStringLiteral("OK"), this);
    lblOK->setObjectName(QStringLiteral("lblOK"));
    lblOK->setFont(WindowLook::comicFont(11.25));
    lblOK->setAlignment(Qt::AlignCenter);
    lblOK->setGeometry(toPixels(1785), toPixels(840), toPixels(900), toPixels(300));
    connect(lblOK, &ActionLabel::hovered, this, [this] { lblOK->setHighlighted(true); });
    connect(lblOK, &ActionLabel::clicked, this, [this] {
        lblOK->setHighlighted(false);
        accept();
    });

    WindowLook::paintBackground(this, tile);
    WindowLook::placeDialog(this, cardSize);
}

void frmNeexistuje::mouseMoveEvent(QMouseEvent* event)
{
    lblOK->setHighlighted(false);
    QDialog::mouseMoveEvent(event);
}
