#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <vector>

class RandomSource;

// A position in twips from the top-left corner of the screen.
struct TwipsPoint {
    double x = 0;
    double y = 0;
    bool operator==(const TwipsPoint&) const = default;
};

// Where the deal puts the side panel, the menu and the cards, in twips.
struct BoardLayout {
    double panelX = 0;
    TwipsPoint player1, score1, clock, player2, score2;
    std::array<TwipsPoint, 6> menu;
    double cardSize = 0;
    std::vector<TwipsPoint> cards;
};

BoardLayout computeBoardLayout(double screenWidthTwips, double screenHeightTwips, int columns,
                               int rows, int cardSize);

// Pair numbers 1..n/2 placed twice each by drawing positions until an empty one is hit. The
// generator is reseeded first, so a fixed-seed source gives the same board every time.
QStringList shuffleCardValues(int cardCount, RandomSource& random);

namespace DealText {
QString playerCaption(const QString& name, int player);
// "Otočené:  " followed by the count with a blank in the place of its sign.
QString turnedCaption(int turnedCount);
// A two-player score: "0" until the player's first pair, then the count after a blank.
QString scoreCaption(int score);
QString initialClockCaption();
} // namespace DealText
