#pragma once

#include "ui/ClickTracker.h"

#include <QLabel>

// A label that acts as a button: it reports a click (press and release of the left button
// inside it) and every mouse move over it. Its look is set by the window that owns it.
class ActionLabel : public QLabel {
    Q_OBJECT
public:
    explicit ActionLabel(const QString& text = QString(), QWidget* parent = nullptr);

    // Highlighted: bold with a thin single-line border; normal: regular, no border.
    void setHighlighted(bool on);
    bool isHighlighted() const { return m_highlighted; }

    // A label that sizes itself to its caption keeps doing so when its look changes.
    void setFitsText(bool fits, int fixedHeight = -1);

Q_SIGNALS:
    void clicked();
    void hovered();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    bool event(QEvent* event) override;

private:
    void fit();

    bool m_highlighted = false;
    ClickTracker m_click;
    bool m_fitsText = false;
    int m_fixedHeight = -1;
    bool m_fitPending = false;
};
