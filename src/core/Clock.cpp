#include "Clock.h"

QTime SystemClock::currentTime() const
{
    return QTime::currentTime();
}

QDate SystemClock::currentDate() const
{
    return QDate::currentDate();
}
