#pragma once

#include "ui/FramedDialog.h"

#include <QList>

#include <functional>

class ActionLabel;
class QLabel;

// The common frame of the game's small windows: a framed dialog without keyboard handling,
// with action labels that highlight under the mouse and lose the look over the bare window.
class LotaroDialog : public FramedDialog {
public:
    LotaroDialog(QWidget* board, const QString& name, int widthTwips, int heightTwips);

protected:
    QLabel* addLabel(const QString& name, const QString& text, int left, int top, int width,
                     int height, const QFont& font, Qt::Alignment alignment = Qt::AlignLeft);
    // A label as large as its text.
    QLabel* addLabel(const QString& name, const QString& text, int left, int top,
                     const QFont& font);
    // An action label; unless keepLookOnClick, a click first gives it the normal look.
    ActionLabel* addAction(const QString& name, const QString& text, int left, int top,
                           std::function<void()> onClick, bool keepLookOnClick = false,
                           Qt::Alignment alignment = Qt::AlignCenter);
    // The bare window: every action label gets the normal look.
    virtual void overBackground();

    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent*) override {}

    QList<ActionLabel*> m_actions;
};
