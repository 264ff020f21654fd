#pragma once

#include <QDate>
#include <QString>

#include <array>
#include <optional>

class SettingsStore;

// One result of the hall of fame.
struct HallOfFameEntry {
    QDate date{2000, 1, 1};
    QString name = QStringLiteral("...");
    qint16 turned = 999;
    int time = 0; // playing time in whole seconds, below one day

    bool operator==(const HallOfFameEntry&) const = default;
};

// A result that took a place in the table of its board size and waits to be stored.
struct RankedResult {
    int sizeClass = 0;
    HallOfFameEntry entry;
};

// The five best one-player results of each board size, with the working entry where a new
// result waits to be ranked, and their text forms in the settings store.
class HallOfFame {
public:
    static constexpr int places = 5;

    // Reads the tables as they are stored now: another copy of the game may have stored a
    // record since this one last looked.
    void loadHallOfFame(SettingsStore& store);
    // Writes all fifteen places as they are and commits them to the store in one step (what
    // "Vymazat" then "OK" stores). Answers whether the store took them.
    bool saveHallOfFame(SettingsStore& store) const;
    // A save that loses nobody's record: under the store's lock the tables are read as stored
    // now, the pending result (one this run has shown and not stored yet) is ranked into them,
    // and all fifteen places are written. Answers whether the store took them.
    bool saveMerged(SettingsStore& store, const std::optional<RankedResult>& pending);
    void clearHallOfFame();

    void placeCandidate(int sizeClass, int time, const QString& name, int turned,
                        const QDate& today);
    HallOfFameEntry candidate(int sizeClass) const { return table(sizeClass)[places]; }
    // Ranks the working entry into its table. A result ranks above every entry with more
    // moves, or as many moves and a longer or equal time; the large table admits only fewer
    // moves than its fifth place, whatever the time. Answers the place (0 … 4) the result
    // took, nothing when it did not enter.
    std::optional<int> insertCandidate(int sizeClass);
    // A finished one-player game: the tables as stored now, the result placed and ranked.
    std::optional<int> rankResult(SettingsStore& store, int sizeClass,
                                  const HallOfFameEntry& result);
    HallOfFameEntry entry(int sizeClass, int place) const { return table(sizeClass)[place]; }

    // The fixed text forms the store keeps: H:mm:ss and d.M.yyyy.
    static QString timeText(int seconds);
    static QString dateText(const QDate& date);

private:
    using Table = std::array<HallOfFameEntry, places + 1>;
    Table& table(int sizeClass) { return m_tables[index(sizeClass)]; }
    const Table& table(int sizeClass) const { return m_tables[index(sizeClass)]; }
    static int index(int sizeClass) { return sizeClass == 0 ? 0 : sizeClass == 1 ? 1 : 2; }
    void write(SettingsStore& store) const;

    std::array<Table, 3> m_tables; // small, medium, large
};
