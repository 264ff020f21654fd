#pragma once

#include <QStringList>
#include <QTime>

// The state of the game on the board, replaced by every deal. The turn rules own it; the board
// and the result windows read it.
struct GameState {
    // lastClicked before the first click of a game: no card has this index.
    static constexpr qint16 noCard = 100;

    QStringList cardValue; // pair number of each card, as decimal text
    qint16 cardsUp = 0;
    qint16 firstValue = 0;
    qint16 secondValue = 0;
    qint16 lastClicked = noCard;
    qint16 firstIndex = 0;
    qint16 secondIndex = 0;
    bool lastWasPair = false;
    qint16 pairsFound = 0;
    bool player1OnMove = true;
    bool clockIdle = true;
    QTime startTime;

    // Results, read by the end-of-game windows.
    qint16 score1 = 0;
    qint16 score2 = 0;
    qint16 turnedCount = 0;
};
