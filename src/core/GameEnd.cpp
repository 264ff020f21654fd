#include "GameEnd.h"

#include "core/GameClock.h"
#include "core/GameState.h"

#include <utility>

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

bool PendingRecord::storeTables(SettingsStore& store, bool cleared)
{
    HallOfFame tables;
    const bool stored = cleared ? tables.saveHallOfFame(store) : tables.saveMerged(store, m_record);
    m_record.reset();
    return stored;
}

void PendingRecord::storeAtEnd(SettingsStore& store)
{
    if (m_record)
        HallOfFame().saveMerged(store, std::exchange(m_record, std::nullopt));
}
