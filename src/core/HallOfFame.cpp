#include "HallOfFame.h"

#include "core/GameClock.h"
#include "core/PlayerName.h"
#include "core/SettingsStore.h"

#include <QRegularExpression>

namespace {
const QString sections[] = {QStringLiteral("Malý"), QStringLiteral("Střední"),
                            QStringLiteral("Velký")};
const QString timeKey = QStringLiteral("Čas");
const QString dateKey = QStringLiteral("Datum");
const QString nameKey = QStringLiteral("Jméno");
const QString turnedKey = QStringLiteral("Otočené");
const QDate emptyDate(2000, 1, 1);

QString key(int place, const QString& part)
{
    return QString::number(place) + part;
}

// Hand-edited values that do not convert are read as if the key were absent.
int readTime(const QString& text)
{
    static const QRegularExpression form(QStringLiteral("^\\s*(\\d{1,2}):(\\d{2}):(\\d{2})\\s*$"));
    const QRegularExpressionMatch m = form.match(text);
    if (!m.hasMatch())
        return 0; // also the stored default "0"
    const int h = m.captured(1).toInt(), min = m.captured(2).toInt(), s = m.captured(3).toInt();
    if (h > 23 || min > 59 || s > 59)
        return 0;
    return h * 3600 + min * 60 + s;
}

QDate readDate(const QString& text)
{
    const QDate date = QDate::fromString(text.trimmed(), QStringLiteral("d.M.yyyy"));
    return date.isValid() ? date : emptyDate;
}

qint16 readTurned(const QString& text)
{
    bool ok = false;
    const short value = text.trimmed().toShort(&ok);
    // No game takes fewer than no moves; a negative count would be an unbeatable record and
    // put the table out of order.
    return ok && value >= 0 && value <= 999 ? value : 999;
}

bool beats(const HallOfFameEntry& c, const HallOfFameEntry& t)
{
    return c.turned < t.turned || (c.turned == t.turned && c.time <= t.time);
}
} // namespace

QString HallOfFame::timeText(int seconds)
{
    return GameClock::longTime(seconds);
}

QString HallOfFame::dateText(const QDate& date)
{
    return date.toString(QStringLiteral("d.M.yyyy"));
}

void HallOfFame::loadHallOfFame(SettingsStore& store)
{
    store.sync();
    for (int p = 0; p < places; ++p) {
        for (int t = 0; t < 3; ++t) {
            HallOfFameEntry& e = m_tables[t][p];
            e.time = readTime(store.read(sections[t], key(p, timeKey), QStringLiteral("0")));
            e.date = readDate(store.read(sections[t], key(p, dateKey), dateText(emptyDate)));
            e.name = PlayerName::fromStore(
                store.read(sections[t], key(p, nameKey), QStringLiteral("...")));
            e.turned =
                readTurned(store.read(sections[t], key(p, turnedKey), QStringLiteral("999")));
        }
    }
}

void HallOfFame::write(SettingsStore& store) const
{
    for (int p = 0; p < places; ++p) {
        for (int t = 0; t < 3; ++t) {
            const HallOfFameEntry& e = m_tables[t][p];
            store.write(sections[t], key(p, timeKey), timeText(e.time));
            store.write(sections[t], key(p, dateKey), dateText(e.date));
            store.write(sections[t], key(p, nameKey), e.name);
            store.write(sections[t], key(p, turnedKey), QString::number(e.turned));
        }
    }
}

bool HallOfFame::saveHallOfFame(SettingsStore& store) const
{
    const std::shared_ptr<void> lock = store.lockForSave();
    write(store);
    return store.sync();
}

bool HallOfFame::saveMerged(SettingsStore& store, const std::optional<RankedResult>& pending)
{
    const std::shared_ptr<void> lock = store.lockForSave();
    loadHallOfFame(store);
    if (pending) {
        table(pending->sizeClass)[places] = pending->entry;
        insertCandidate(pending->sizeClass);
    }
    write(store);
    return store.sync();
}

void HallOfFame::clearHallOfFame()
{
    for (Table& t : m_tables)
        for (int p = 0; p < places; ++p)
            t[p] = HallOfFameEntry();
}

void HallOfFame::placeCandidate(int sizeClass, int time, const QString& name, int turned,
                                const QDate& today)
{
    table(sizeClass)[places] = {today, name, static_cast<qint16>(turned), time};
}

std::optional<int> HallOfFame::insertCandidate(int sizeClass)
{
    Table& t = table(sizeClass);
    // The large table wants fewer moves than its fifth place, whatever the time; the others
    // also take as many moves in a time that is not longer.
    const bool large = index(sizeClass) == 2;
    if (large ? t[places].turned >= t[places - 1].turned : t[places].turned > t[places - 1].turned)
        return std::nullopt;
    std::optional<int> newPlace;
    for (int i = 0; i < places; ++i) {
        if (!beats(t[places], t[i]))
            continue;
        if (!newPlace)
            newPlace = i;
        std::swap(t[i], t[places]);
    }
    return newPlace;
}

std::optional<int> HallOfFame::rankResult(SettingsStore& store, int sizeClass,
                                          const HallOfFameEntry& result)
{
    loadHallOfFame(store);
    table(sizeClass)[places] = result;
    return insertCandidate(sizeClass);
}
