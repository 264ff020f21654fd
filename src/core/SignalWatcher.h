#pragma once

#include <QObject>

#include <functional>

class QSocketNotifier;

// Turns SIGTERM, SIGHUP and SIGINT into a call on the event loop, so that a killed or logged-out
// game ends the same clean way as one that is quit.
class SignalWatcher : public QObject {
    Q_OBJECT
public:
    explicit SignalWatcher(std::function<void(int)> onSignal, QObject* parent = nullptr);
    ~SignalWatcher() override;

private:
    void readSignal();

    std::function<void(int)> m_onSignal;
    QSocketNotifier* m_notifier = nullptr;
};
