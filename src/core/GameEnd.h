#pragma once

#include "core/HallOfFame.h"

#include <QDate>
#include <QTime>

#include <optional>

struct GameState;
class SettingsStore;

// What follows the last pair: the result, whether it entered the hall of fame and at which
// place, and which window plays the end-of-game sound. The board window shows the windows this
// answers, in order: the result, then the hall of fame when the result entered it.
struct GameEnd {
    bool twoPlayers = false;
    HallOfFameEntry result;             // one player: name, moves, time and day
    std::optional<RankedResult> record; // the result, when it took a place
    std::optional<int> place;           // that place in its table, 0 … 4
    HallOfFame tables;                  // as stored now, with the result ranked in

    bool showsHallOfFame() const { return place.has_value(); }
    // The fanfare: the two-player result window plays it, and so does the hall of fame when it
    // marks a new entry.
    bool resultPlaysEndSound() const { return twoPlayers; }
    bool hallOfFamePlaysEndSound() const { return place.has_value(); }
};

// The one end-of-game decision. A one-player result is ranked against the tables as stored
// now; it is not stored here (that is the hall of fame's "OK", or the end of the run).
GameEnd decideGameEnd(const GameState& state, bool twoPlayers, int sizeClass,
                      const QString& playerName, const QDate& today, const QTime& now,
                      SettingsStore& store);

// A one-player result that entered the hall of fame and is not stored yet. The hall of fame's
// "OK" stores it with the tables, and so does the end of the run, whichever comes first.
class PendingRecord {
public:
    void hold(const std::optional<RankedResult>& record) { m_record = record; }
    const std::optional<RankedResult>& record() const { return m_record; }

    // The hall of fame closed with "OK": the tables as another copy may have stored them
    // meanwhile, with the held record ranked in; after "Vymazat", the empty tables. The record
    // is let go either way: a failed write stays in the store and goes out with the next save,
    // so it must not be ranked in twice. Answers whether the store took the tables.
    bool storeTables(SettingsStore& store, bool cleared);
    // The end of the run stores a held record and nothing else: a "Vymazat" that was not
    // confirmed with "OK" is not carried out.
    void storeAtEnd(SettingsStore& store);

private:
    std::optional<RankedResult> m_record;
};
