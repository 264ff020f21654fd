#include "Deal.h"

#include "core/NumberText.h"
#include "core/RandomSource.h"

#include <cmath>

BoardLayout computeBoardLayout(double screenWidth, double screenHeight, int columns, int rows,
                               int cardSize)
{
    constexpr double gap = 50;
    const double c = cardSize;
    BoardLayout l;
    l.cardSize = c;
    l.panelX = screenWidth - 1.2 * c;
    l.player1 = {l.panelX, 1000};
    l.score1 = {l.panelX, 1750};
    l.clock = {l.panelX, 2500};
    l.player2 = {l.panelX, 3500};
    l.score2 = {l.panelX, 4000};
    for (int k = 0; k < 6; ++k)
        l.menu[k] = {l.panelX, screenHeight - (6 - k) * 420.0 - 1000};

    // The block of cards is centred in the area left of the side panel.
    const int n = columns * rows;
    l.cards.resize(n);
    l.cards[0] = {(screenWidth - (columns + 1.2) * c - (columns - 1) * gap) / 2,
                  (screenHeight - rows * c - (rows - 1) * gap) / 2};
    for (int k = 1; k < n; ++k) {
        const TwipsPoint& prev = l.cards[k - 1];
        l.cards[k] = k % columns == 0 ? TwipsPoint{l.cards[0].x, prev.y + c + gap}
                                      : TwipsPoint{prev.x + c + gap, prev.y};
    }
    return l;
}

QStringList shuffleCardValues(int n, RandomSource& random)
{
    QStringList values(n);
    random.seedForDeal();
    for (int pair = 1; pair <= n / 2; ++pair) {
        const QString text = QString::number(pair);
        int placed = 0;
        while (placed < 2) {
            const auto r = static_cast<int>(std::floor(static_cast<double>(random.uniform()) * n));
            if (values[r].isEmpty()) {
                values[r] = text;
                ++placed;
            }
        }
    }
    return values;
}

namespace DealText {
QString playerCaption(const QString& name, int player)
{
    return name.isEmpty() ? QStringLiteral("Hráč ") + QString::number(player) : name;
}

QString turnedCaption(int turnedCount)
{
    return QStringLiteral("Otočené:  ") + NumberText::withSignSpace(turnedCount);
}

QString scoreCaption(int score)
{
    return score == 0 ? QStringLiteral("0") : NumberText::withSignSpace(score);
}

QString initialClockCaption()
{
    return QStringLiteral("Čas: 0:00:00");
}
} // namespace DealText
