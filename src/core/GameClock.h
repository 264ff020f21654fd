#pragma once

#include <QString>
#include <QTime>

namespace GameClock {
// Whole seconds from start to now, both times of day; a game that runs past midnight gets
// the 24 hours back that the difference of two times of day loses.
int elapsedSeconds(const QTime& start, const QTime& now);
// H:mm:ss, hours without a leading zero.
QString longTime(int seconds);
QString caption(const QTime& start, const QTime& now);
} // namespace GameClock
