#pragma once

#include <QElapsedTimer>
#include <QObject>

class QWidget;

// The second click of a double-click on a dialog's "OK" lands on the window the dialog
// uncovered; it was meant for the dialog. The guard tells whether the last press on the window
// came within the desktop's double-click interval after a modal window closed. The press itself
// goes its way, so that the toolkit's view of the button stays whole; the window takes no click
// from it.
class ModalClickGuard : public QObject {
public:
    explicit ModalClickGuard(QWidget* window);

    bool lastPressTooSoon() const { return m_tooSoon; }
    // A click handler that takes no click whose press came too soon.
    template <class Handler> auto guarded(Handler handler) const
    {
        return [this, handler](auto... clicked) {
            if (!lastPressTooSoon())
                handler(clicked...);
        };
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* m_window;
    QElapsedTimer m_modalClosed;
    bool m_tooSoon = false;
};
