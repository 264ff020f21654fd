#pragma once

#include <QDate>
#include <QTime>

// Time of day and calendar, behind a seam so that tests can set the clock.
class Clock {
public:
    virtual ~Clock() = default;
    virtual QTime currentTime() const = 0;
    virtual QDate currentDate() const = 0;
};

class SystemClock final : public Clock {
public:
    QTime currentTime() const override;
    QDate currentDate() const override;
};
