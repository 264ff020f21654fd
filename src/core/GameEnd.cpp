#include "GameEnd.h"

#include "core/GameClock.h"
#include "core/GameState.h"

GameEnd decideGameEnd(const GameState& state, bool twoPlayers, int sizeClass,
                      const QString& playerName, const QDate& today, const QTime& now,
                      SettingsStore& store)
{
    GameEnd end;
    end.twoPlayers = twoPlayers;
    if (twoPlayers)
        return end;
    end.result = {today, playerName, state.turnedCount,
                  GameClock::elapsedSeconds(state.startTime, now)};
    end.place = end.tables.rankResult(store, sizeClass, end.result);
    if (end.place)
        end.record = RankedResult{sizeClass, end.result};
    return end;
}
