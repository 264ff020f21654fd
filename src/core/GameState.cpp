#include "GameState.h"

void GameState::resetAfterDeal()
{
    pairsFound = 0;
    lastClicked = 100;
    firstIndex = 0;
    secondIndex = 0;
    turnedCount = 0;
    lastWasPair = false;
    score1 = 0;
    score2 = 0;
    player1OnMove = true;
    clockIdle = true;
}
