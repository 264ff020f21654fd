#pragma once

#include <QAbstractNativeEventFilter>
#include <QDialog>
#include <QPointer>

// A dialog without a title bar but with the classic raised dialog edge, so that it stands out
// from the board behind it. The edge lies around a client area of a fixed size in twips, which
// holds the tiled texture and every control at its twips position; the window is the edge
// wider on each side, and the placement rules place the whole framed window.
class FramedDialog : public QDialog, public QAbstractNativeEventFilter {
public:
    static constexpr int edge = 3; // pixels on each side

    FramedDialog(QWidget* board, const QString& name, int widthTwips, int heightTwips);

    // The parent of every control.
    QWidget* client() const { return m_client; }

    void setVisible(bool visible) override;
    bool nativeEventFilter(const QByteArray& type, void* message, qintptr* result) override;

protected:
    // The bare window, where the mouse takes the highlight off the action labels: the edge, or
    // the client area where no control is.
    bool isBare(QPoint at) const;

    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // Raises and activates the dialog again, the board having come over it.
    void bringBack();

    QWidget* m_client;
    QPointer<QWidget> m_board;
};
