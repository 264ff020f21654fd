#pragma once

#include "core/Clock.h"

// A clock that stands still until the test moves it.
class FakeClock final : public Clock {
public:
    QTime currentTime() const override { return time; }
    QDate currentDate() const override { return date; }
    void advance(int seconds) { time = time.addSecs(seconds); }

    QTime time{10, 0, 0};
    QDate date{2026, 12, 6};
};
