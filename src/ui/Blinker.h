#pragma once

#include <QList>

#include <functional>

class QTimer;
class QWidget;

// The blinking of a result window: every half second the marked labels turn hidden, then
// visible again, and about a second after the start the end-of-game sound plays once. The
// timer is the window's child "Timer1".
class Blinker {
public:
    // playEndSound is asked only while the sound is on; empty, nothing plays.
    Blinker(QWidget* window, std::function<void()> playEndSound);

    // Starts the ticks; the labels blink together, hidden first. With none, only the sound
    // comes.
    void start(QList<QWidget*> labels);
    // Stops the blinking and leaves the labels visible.
    void stop();

private:
    void Timer1Tick();

    std::function<void()> m_playEndSound;
    QList<QWidget*> m_labels;
    QTimer* Timer1;
    quint8 tickCount = 0;
};
