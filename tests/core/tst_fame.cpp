#include "MemoryStore.h"
#include "TestMain.h"

#include "core/HallOfFame.h"
#include "core/SettingsStore.h"

using namespace Qt::StringLiterals;

namespace {
QString text(const HallOfFameEntry& e)
{
    return u"%1 %2 %3 %4"_s.arg(e.date.toString(Qt::ISODate), e.name).arg(e.turned).arg(e.time);
}

// Tables as moves/seconds from the first place down, the new result marked "*"; the place it
// takes (-1: none); the five places and the working entry, where the fifth place drops out to and
// a result that does not enter stays.
const std::tuple<const char*, const char*, int, const char*> rankings[] = {
    {"", "50/600", 0, "*50/600 999/0 999/0 999/0 999/0 999/0"},
    {"20/120 22/90 22/180 30/130", "22/120", 2, "20/120 22/90 *22/120 22/180 30/130 999/0"},
    {"20/120 22/90 22/180 30/130", "22/90", 1, "20/120 *22/90 22/90 22/180 30/130 999/0"},
    {"10/60 20/60 30/60 35/60 40/180", "40/179", 4, "10/60 20/60 30/60 35/60 *40/179 40/180"},
    {"10/60 20/60 30/60 35/60 40/180", "40/180", 4, "10/60 20/60 30/60 35/60 *40/180 40/180"},
    {"10/60 20/60 30/60 35/60 40/180", "40/181", -1, "10/60 20/60 30/60 35/60 40/180 *40/181"},
    {"10/60 20/60 30/60 35/60 40/180", "39/3600", 4, "10/60 20/60 30/60 35/60 *39/3600 40/180"},
    {"10/60 20/60 30/60 35/60 40/180", "41/1", -1, "10/60 20/60 30/60 35/60 40/180 *41/1"}};

// A key of the medium table as edited by hand; what does not convert reads as if it were absent.
const std::tuple<const char*, const char*, QString, const char*> handEdited[] = {
    {"nothing stored", "Jiný", u"1"_s, "2000-01-01 ... 999 0"},
    {"turned half a number", "0Otočené", u"12x"_s, "2000-01-01 ... 999 0"},
    {"turned too large", "0Otočené", u"40000"_s, "2000-01-01 ... 999 0"},
    {"turned negative", "0Otočené", u"-5"_s, "2000-01-01 ... -5 0"},
    {"time not a time", "0Čas", u"soon"_s, "2000-01-01 ... 999 0"},
    {"time out of range", "0Čas", u"0:61:00"_s, "2000-01-01 ... 999 0"},
    {"time", "0Čas", u" 1:02:03 "_s, "2000-01-01 ... 999 3723"},
    {"date not a date", "0Datum", u"32.13.2000"_s, "2000-01-01 ... 999 0"},
    {"date", "0Datum", u"5.12.2026"_s, "2026-12-05 ... 999 0"},
    {"long name on two lines", "0Jméno", u"Jan\nNovák"_s + QString(5000, u'x'),
     "2000-01-01 Jan No 999 0"}};
} // namespace

class FameTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void ranking_data()
    {
        QTest::addColumn<int>("sizeClass");
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("result");
        QTest::addColumn<int>("row"); // of the window: the large table first, the small from 10
        QTest::addColumn<QString>("expected");
        for (int c : {0, 1, 2})
            for (const auto& [table, result, place, expected] : rankings)
                QTest::addRow("class %d, %s into %s", c, result, table)
                    << c << table << result << (place < 0 ? -1 : place + QList{10, 5, 0}[c])
                    << expected;
    }
    void ranking()
    {
        QFETCH(int, sizeClass);
        QFETCH(QString, table);
        QFETCH(QString, result);
        HallOfFame fame;
        const auto place = [&](const QString& entry, const QString& name) {
            fame.placeCandidate(sizeClass, entry.section(u'/', 1).toInt(), name,
                                entry.section(u'/', 0, 0).toInt(), QDate(2026, 1, 1));
            return fame.insertCandidate(sizeClass);
        };
        const QStringList places = table.split(u' ', Qt::SkipEmptyParts);
        for (qsizetype p = places.size() - 1; p >= 0; --p)
            place(places[p], QString());
        QTEST(place(result, u"*"_s).value_or(-1), "row");
        QStringList shown;
        for (int p = 0; p <= HallOfFame::places; ++p) {
            const HallOfFameEntry e = p < 5 ? fame.entry(sizeClass, p) : fame.candidate(sizeClass);
            shown << (e.name == u"*" ? e.name : QString()) + QString::number(e.turned) + u'/' +
                         QString::number(e.time);
        }
        QTEST(shown.join(u' '), "expected");
        for (int other : {0, 1, 2}) // the other tables are untouched
            QVERIFY(other == sizeClass || fame.entry(other, 0) == HallOfFameEntry());
    }

    // Two copies of the game that finish one after the other both keep their records: the
    // second ranks against what the first stored, not against what it read when it started.
    void twoCopiesKeepBothRecords()
    {
        MemoryStore store;
        HallOfFame first, second;
        first.loadHallOfFame(store);
        second.loadHallOfFame(store);
        QCOMPARE(second.rankResult(store, 0, {QDate(2026, 1, 1), u"B"_s, 20, 60}), 10);
        second.saveHallOfFame(store);
        QCOMPARE(first.rankResult(store, 0, {QDate(2026, 1, 1), u"A"_s, 30, 60}), 11);
        first.saveHallOfFame(store);
        HallOfFame read;
        read.loadHallOfFame(store);
        QCOMPARE(read.entry(0, 0).name + read.entry(0, 1).name, u"BA"_s);
    }

    void handEditedValues_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("expected"); // date, name, moves, seconds
        for (const auto& [name, key, stored, expected] : handEdited)
            QTest::newRow(name) << key << stored << expected;
    }
    void handEditedValues()
    {
        QFETCH(QString, key);
        QFETCH(QString, stored);
        MemoryStore store;
        store.write(u"Střední"_s, key, stored);
        HallOfFame fame;
        fame.placeCandidate(1, 5, u"old"_s, 1, QDate(2026, 1, 1)); // what the load replaces
        fame.insertCandidate(1);
        fame.loadHallOfFame(store);
        QTEST(text(fame.entry(1, 0)), "expected");
    }

    // The keys and texts (H:mm:ss, d.M.yyyy) that earlier files hold, written in one step; all
    // fifteen places come back; a cleared hall writes empty places everywhere.
    void stored()
    {
        HallOfFame fame, read;
        for (int n = 0; n < 15; ++n) {
            fame.placeCandidate(n / 5, 3600 * (n % 5) + 61 * n, u"Žluť%1"_s.arg(n), 100 - n,
                                QDate(2026, 12, 1 + n));
            fame.insertCandidate(n / 5);
        }
        MemoryStore store, cleared;
        fame.saveHallOfFame(store);
        QCOMPARE(store.syncs, 1);
        for (const char* pair :
             {"Malý/0Čas=4:04:04", "Malý/0Datum=5.12.2026", "Malý/0Jméno=Žluť4", "Malý/0Otočené=96",
              "Střední/4Čas=0:05:05", "Velký/0Čas=4:14:14"}) {
            const QString key = QString::fromUtf8(pair).section(u'=', 0, 0);
            QCOMPARE(key + u'=' + store.values.value(key), QString::fromUtf8(pair));
        }
        read.loadHallOfFame(store);
        for (int n = 0; n < 15; ++n)
            QCOMPARE(text(read.entry(n / 5, n % 5)), text(fame.entry(n / 5, n % 5)));
        fame.clearHallOfFame();
        fame.saveHallOfFame(cleared);
        const QList<QString> texts = cleared.values.values();
        QCOMPARE(QSet<QString>(texts.begin(), texts.end()),
                 (QSet<QString>{u"0:00:00"_s, u"1.1.2000"_s, u"..."_s, u"999"_s}));
    }
};

LOTARO_TEST_MAIN(FameTest, QCoreApplication)
#include "tst_fame.moc"
