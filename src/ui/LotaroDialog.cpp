#include "LotaroDialog.h"

#include "core/Twips.h"
#include "ui/ActionLabel.h"
#include "ui/WindowLook.h"

#include <QLabel>
#include <QMouseEvent>

#include <functional>

using Twips::toPixels;

LotaroDialog::LotaroDialog(QWidget* board, const QString& name, int widthTwips, int heightTwips)
    : FramedDialog(board, name, widthTwips, heightTwips)
{
}

QLabel* LotaroDialog::addLabel(const QString& name, const QString& text, int left, int top,
                               int width, int height, const QFont& font, Qt::Alignment alignment)
{
    auto* label = new QLabel(text, client());
    label->setObjectName(name);
    label->setFont(font);
    label->setAlignment(alignment | Qt::AlignTop);
    label->setGeometry(toPixels(left), toPixels(top), toPixels(width), toPixels(height));
    return label;
}

QLabel* LotaroDialog::addLabel(const QString& name, const QString& text, int left, int top,
                               const QFont& font)
{
    auto* label = new QLabel(text, client());
    label->setObjectName(name);
    label->setFont(font);
    label->move(toPixels(left), toPixels(top));
    label->adjustSize();
    return label;
}

ActionLabel* LotaroDialog::addAction(const QString& name, const QString& text, int left, int top,
                                     std::function<void()> onClick, bool keepLookOnClick,
                                     Qt::Alignment alignment)
{
    auto* label = new ActionLabel(text, client());
    label->setObjectName(name);
    label->setFont(WindowLook::comicFont(11.25));
    label->setAlignment(alignment | Qt::AlignVCenter);
    label->setGeometry(toPixels(left), toPixels(top), toPixels(900), toPixels(300));
    connect(label, &ActionLabel::hovered, this, [label] { label->setHighlighted(true); });
    connect(label, &ActionLabel::clicked, this, [label, keepLookOnClick, onClick] {
        if (!keepLookOnClick)
            label->setHighlighted(false);
        onClick();
    });
    m_actions.append(label);
    return label;
}

void LotaroDialog::overBackground()
{
    for (ActionLabel* label : std::as_const(m_actions))
        label->setHighlighted(false);
}

void LotaroDialog::mouseMoveEvent(QMouseEvent* event)
{
    if (isBare(event->position().toPoint()))
        overBackground();
    QDialog::mouseMoveEvent(event);
}
