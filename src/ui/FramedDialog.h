#pragma once

#include <QDialog>
#include <QPointer>

// A dialog without a title bar but with the classic raised dialog edge, so that it stands out
// from the board behind it. The edge lies around a client area of a fixed size in twips, which
// holds the tiled texture and every control at its twips position; the dialog is the edge
// wider on each side, and the placement rules place the whole framed dialog.
//
// The dialog is drawn inside the board's window, not as a window of its own. A second window
// is stacked by the window manager, and several put their panels over a full-screen window as
// soon as another window takes the focus from it, or raise the board over the dialog when the
// board is clicked; one window keeps the board and its dialog together on every desktop. Shown
// with exec(), the dialog is modal by itself: while it is open, the rest of the window takes
// neither the mouse nor the keys.
class FramedDialog : public QDialog {
public:
    static constexpr int edge = 3; // pixels on each side

    FramedDialog(QWidget* board, const QString& name, int widthTwips, int heightTwips);
    ~FramedDialog() override;

    // The parent of every control.
    QWidget* client() const { return m_client; }

    // The dialog that takes the input now: the one opened last with exec() and still open.
    static FramedDialog* topmost();
    // Closes that dialog, as the desktop's close of its window would; false when none is open.
    static bool closeTopmost();

protected:
    // The bare dialog, where the mouse takes the highlight off the action labels: the edge, or
    // the client area where no control is.
    bool isBare(QPoint at) const;

    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void leaveModal();

    QWidget* m_client;
    QPointer<QWidget> m_focusBefore; // where the keys went before the dialog took them
};
