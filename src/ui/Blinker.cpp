#include "Blinker.h"

#include <QTimer>
#include <QWidget>

Blinker::Blinker(QWidget* window, std::function<void()> playEndSound)
    : m_playEndSound(std::move(playEndSound)), Timer1(new QTimer(window))
{
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(500);
    QObject::connect(Timer1, &QTimer::timeout, Timer1, [this] { Timer1Tick(); });
}

void Blinker::start(QList<QWidget*> labels)
{
    m_labels = std::move(labels);
    tickCount = 0;
    Timer1->start();
}

void Blinker::stop()
{
    Timer1->stop();
    for (QWidget* label : std::as_const(m_labels))
        label->setVisible(true);
}

void Blinker::Timer1Tick()
{
    if (tickCount == 1 && m_playEndSound)
        m_playEndSound();
    if (tickCount < 10)
        ++tickCount;
    if (m_labels.isEmpty())
        return;
    const bool show = m_labels.first()->isHidden();
    for (QWidget* label : std::as_const(m_labels))
        label->setVisible(show);
}
