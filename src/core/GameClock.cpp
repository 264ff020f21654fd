#include "GameClock.h"

namespace GameClock {
int elapsedSeconds(const QTime& start, const QTime& now)
{
    constexpr int day = 24 * 60 * 60;
    // Times of day with whole seconds, as the clock shows them.
    const int from = QTime(0, 0).secsTo(QTime(start.hour(), start.minute(), start.second()));
    const int to = QTime(0, 0).secsTo(QTime(now.hour(), now.minute(), now.second()));
    const int difference = to - from;
    return difference < 0 ? difference + day : difference;
}

QString longTime(int seconds)
{
    seconds %= 24 * 60 * 60;
    return QString::number(seconds / 3600) + u':' +
           QStringLiteral("%1").arg(seconds / 60 % 60, 2, 10, QLatin1Char('0')) + u':' +
           QStringLiteral("%1").arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

QString caption(const QTime& start, const QTime& now)
{
    return QStringLiteral("Čas: ") + longTime(elapsedSeconds(start, now));
}
} // namespace GameClock
