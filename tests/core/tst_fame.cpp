#include "MemoryStore.h"
#include "TestMain.h"

#include "core/HallOfFame.h"
#include "core/SettingsStore.h"

#include <QFile>

namespace {
struct Result {
    int turned;
    int time;
};
using Results = QList<Result>;

// A table filled from the best place down; missing places stay empty.
void fill(HallOfFame& fame, int sizeClass, const Results& places)
{
    for (int p = places.size() - 1; p >= 0; --p) {
        fame.placeCandidate(sizeClass, places[p].time, QStringLiteral("P%1").arg(p),
                            places[p].turned, QDate(2026, 1, 1));
        fame.insertCandidate(sizeClass);
    }
}

int hms(int h, int m, int s)
{
    return h * 3600 + m * 60 + s;
}
} // namespace

Q_DECLARE_METATYPE(Results)
Q_DECLARE_METATYPE(Result)
Q_DECLARE_METATYPE(HallOfFameEntry)

class FameTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void ranking_data();
    void ranking();
    void notEnteringChangesNothing();
    void twoCopiesKeepBothRecords();
    void freshStore();
    void roundTrip();
    void storeOrderAndKeys();
    void clearedTexts();
    void handEditedValues_data();
    void handEditedValues();
};

void FameTest::ranking_data()
{
    QTest::addColumn<int>("sizeClass");
    QTest::addColumn<Results>("table");
    QTest::addColumn<Result>("result");
    QTest::addColumn<int>("place"); // -1: does not enter
    QTest::addColumn<int>("row");
    const Results worked{
        {20, hms(0, 2, 0)}, {22, hms(0, 1, 30)}, {22, hms(0, 3, 0)}, {30, hms(0, 2, 10)}};
    const Results full{{10, 60}, {20, 60}, {30, 60}, {35, 60}, {40, hms(0, 3, 0)}};
    QTest::newRow("empty table, small") << 0 << Results{} << Result{50, 600} << 0 << 10;
    QTest::newRow("empty table, medium") << 1 << Results{} << Result{50, 600} << 0 << 5;
    QTest::newRow("empty table, large") << 2 << Results{} << Result{50, 600} << 0 << 0;
    QTest::newRow("worked example") << 1 << worked << Result{22, hms(0, 2, 0)} << 2 << 7;
    QTest::newRow("equal to place 2 ranks above it")
        << 0 << worked << Result{22, hms(0, 1, 30)} << 1 << 11;
    for (int sizeClass : {0, 1, 2}) {
        QTest::addRow("place 5 boundary, faster, class %d", sizeClass)
            << sizeClass << full << Result{40, hms(0, 2, 59)} << 4
            << HallOfFame::windowRow(sizeClass, 4);
        QTest::addRow("place 5 boundary, as fast, class %d", sizeClass)
            << sizeClass << full << Result{40, hms(0, 3, 0)} << 4
            << HallOfFame::windowRow(sizeClass, 4);
        QTest::addRow("place 5 boundary, slower, class %d", sizeClass)
            << sizeClass << full << Result{40, hms(0, 3, 1)} << -1 << 0;
        QTest::addRow("one move fewer, class %d", sizeClass)
            << sizeClass << full << Result{39, hms(1, 0, 0)} << 4
            << HallOfFame::windowRow(sizeClass, 4);
        QTest::addRow("one move more, class %d", sizeClass)
            << sizeClass << full << Result{41, 1} << -1 << 0;
    }
}

// A result takes the first place that it beats and pushes the rest down; the fifth drops out.
void FameTest::ranking()
{
    QFETCH(int, sizeClass);
    QFETCH(Results, table);
    QFETCH(Result, result);
    QFETCH(int, place);
    QFETCH(int, row);
    HallOfFame fame;
    fill(fame, sizeClass, table);
    QList<HallOfFameEntry> before;
    for (int p = 0; p < 5; ++p)
        before.append(fame.entry(sizeClass, p));

    fame.placeCandidate(sizeClass, result.time, QStringLiteral("Nový"), result.turned,
                        QDate(2026, 12, 6));
    QCOMPARE(fame.candidate(sizeClass).name, QStringLiteral("Nový"));
    const std::optional<int> newEntryRow = fame.insertCandidate(sizeClass);
    QCOMPARE(newEntryRow.has_value(), place >= 0);
    QCOMPARE(newEntryRow.value_or(0), row);
    QList<HallOfFameEntry> expected = before;
    if (place >= 0) {
        expected.insert(place, {QDate(2026, 12, 6), QStringLiteral("Nový"), qint16(result.turned),
                                result.time});
        QCOMPARE(fame.candidate(sizeClass), expected.takeLast());
    }
    for (int p = 0; p < 5; ++p)
        QCOMPARE(fame.entry(sizeClass, p), expected[p]);
    // The other tables are untouched.
    for (int other : {0, 1, 2})
        if (other != sizeClass)
            QCOMPARE(fame.entry(other, 0), HallOfFameEntry());
}

void FameTest::notEnteringChangesNothing()
{
    HallOfFame fame;
    fill(fame, 1, {{1, 1}, {1, 1}, {1, 1}, {1, 1}, {1, 1}});
    fame.placeCandidate(1, 5, QStringLiteral("x"), 2, QDate(2026, 1, 1));
    QVERIFY(!fame.insertCandidate(1));
    QCOMPARE(fame.candidate(1).name, QStringLiteral("x"));
}

// Two copies of the game that finish one after the other both keep their records: the second
// ranks against what the first stored, not against what it read when it started.
void FameTest::twoCopiesKeepBothRecords()
{
    MemoryStore store;
    HallOfFame first, second;
    first.loadHallOfFame(store);
    second.loadHallOfFame(store);
    QCOMPARE(second.rankResult(store, 0, {QDate(2026, 1, 1), QStringLiteral("B"), 20, 60}), 10);
    second.saveHallOfFame(store);
    QCOMPARE(first.rankResult(store, 0, {QDate(2026, 1, 1), QStringLiteral("A"), 30, 60}), 11);
    first.saveHallOfFame(store);
    HallOfFame read;
    read.loadHallOfFame(store);
    QCOMPARE(read.entry(0, 0).name, QStringLiteral("B"));
    QCOMPARE(read.entry(0, 1).name, QStringLiteral("A"));
}

// A fresh store: fifteen empty entries.
void FameTest::freshStore()
{
    MemoryStore store;
    HallOfFame fame;
    fame.placeCandidate(0, 1, QStringLiteral("a"), 1, QDate(2026, 1, 1));
    fame.insertCandidate(0);
    fame.loadHallOfFame(store);
    for (int c : {0, 1, 2})
        for (int p = 0; p < 5; ++p) {
            const HallOfFameEntry e = fame.entry(c, p);
            QCOMPARE(e.name, QStringLiteral("..."));
            QCOMPARE(e.turned, 999);
            QCOMPARE(e.time, 0);
            QCOMPARE(e.date, QDate(2000, 1, 1));
        }
}

// All sixty keys come back as written, Czech names included, through the real store.
void FameTest::roundTrip()
{
    HallOfFame written;
    int n = 0;
    for (int c : {0, 1, 2})
        for (int p = 0; p < 5; ++p, ++n) {
            written.placeCandidate(c, hms(p, 10 + n, 59 - n), QStringLiteral("Žluť%1").arg(n),
                                   100 - n, QDate(2026, 12, 1 + n));
            written.insertCandidate(c);
        }
    {
        IniSettingsStore store;
        written.saveHallOfFame(store);
        // A save reaches the file in one step, at its end: a key written alone waits for it.
        store.write(QStringLiteral("Malý"), QStringLiteral("later"), QStringLiteral("1"));
        QFile file(store.fileName());
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray text = file.readAll();
        QVERIFY(text.contains("Jm%E9no"));
        QVERIFY(!text.contains("later"));
    }
    IniSettingsStore again;
    HallOfFame read;
    read.loadHallOfFame(again);
    for (int c : {0, 1, 2})
        for (int p = 0; p < 5; ++p)
            QCOMPARE(read.entry(c, p), written.entry(c, p));
}

void FameTest::storeOrderAndKeys()
{
    MemoryStore store;
    HallOfFame fame;
    fame.saveHallOfFame(store);
    QCOMPARE(store.writes.size(), 60);
    QCOMPARE(store.writes.mid(0, 5),
             (QStringList{QStringLiteral("Malý/0Čas"), QStringLiteral("Malý/0Datum"),
                          QStringLiteral("Malý/0Jméno"), QStringLiteral("Malý/0Otočené"),
                          QStringLiteral("Střední/0Čas")}));
    QCOMPARE(store.writes.at(8), QStringLiteral("Velký/0Čas"));
    QCOMPARE(store.writes.last(), QStringLiteral("Velký/4Otočené"));
    QCOMPARE(store.syncs, 1);
}

// "Vymazat" then "OK" writes the texts of zero time and of 1 January 2000.
void FameTest::clearedTexts()
{
    HallOfFame fame;
    fame.placeCandidate(2, hms(1, 2, 3), QStringLiteral("Eva"), 33, QDate(2026, 12, 6));
    fame.insertCandidate(2);
    fame.clearHallOfFame();
    MemoryStore store;
    fame.saveHallOfFame(store);
    QCOMPARE(store.values.value(QStringLiteral("Velký/0Čas")), QStringLiteral("0:00:00"));
    QCOMPARE(store.values.value(QStringLiteral("Velký/0Datum")), QStringLiteral("1.1.2000"));
    QCOMPARE(store.values.value(QStringLiteral("Velký/0Jméno")), QStringLiteral("..."));
    QCOMPARE(store.values.value(QStringLiteral("Velký/0Otočené")), QStringLiteral("999"));
    QCOMPARE(HallOfFame::timeText(90), QStringLiteral("0:01:30"));
    QCOMPARE(HallOfFame::dateText(QDate(2026, 12, 5)), QStringLiteral("5.12.2026"));
}

void FameTest::handEditedValues_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("text");
    QTest::addColumn<HallOfFameEntry>("expected");
    const HallOfFameEntry d;
    HallOfFameEntry e = d;
    QTest::newRow("turned not a number")
        << QStringLiteral("0Otočené") << QStringLiteral("abc") << d;
    QTest::newRow("turned half a number")
        << QStringLiteral("0Otočené") << QStringLiteral("12x") << d;
    QTest::newRow("turned too large") << QStringLiteral("0Otočené") << QStringLiteral("40000") << d;
    e.turned = -5;
    QTest::newRow("turned negative") << QStringLiteral("0Otočené") << QStringLiteral("-5") << e;
    e = d;
    QTest::newRow("time not a time") << QStringLiteral("0Čas") << QStringLiteral("soon") << d;
    QTest::newRow("time out of range") << QStringLiteral("0Čas") << QStringLiteral("0:61:00") << d;
    e.time = hms(1, 2, 3);
    QTest::newRow("time") << QStringLiteral("0Čas") << QStringLiteral("1:02:03") << e;
    e = d;
    QTest::newRow("date not a date")
        << QStringLiteral("0Datum") << QStringLiteral("32.13.2000") << d;
    e.date = QDate(2026, 12, 5);
    QTest::newRow("date") << QStringLiteral("0Datum") << QStringLiteral("5.12.2026") << e;
    e = d;
    e.name = QStringLiteral("Jan No");
    QTest::newRow("long name on two lines")
        << QStringLiteral("0Jméno") << QString(u"Jan\nNovák" + QString(5000, u'x')) << e;
}

void FameTest::handEditedValues()
{
    QFETCH(QString, key);
    QFETCH(QString, text);
    QFETCH(HallOfFameEntry, expected);
    MemoryStore store;
    store.write(QStringLiteral("Střední"), key, text);
    HallOfFame fame;
    fame.loadHallOfFame(store);
    QCOMPARE(fame.entry(1, 0), expected);
}

LOTARO_TEST_MAIN(FameTest, QCoreApplication)
#include "tst_fame.moc"
