#include "MemoryStore.h"
#include "TestMain.h"

#include "core/HallOfFame.h"
#include "core/SettingsStore.h"

using namespace Qt::StringLiterals;

namespace {
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
        // A ranking syncs first: only so does the real store see what another copy stored.
        const int syncs = store.syncs;
        QCOMPARE(first.rankResult(store, 0, {QDate(2026, 1, 1), u"A"_s, 30, 60}), 11);
        QCOMPARE(store.syncs, syncs + 1);
        first.saveHallOfFame(store);
        HallOfFame read;
        read.loadHallOfFame(store);
        QCOMPARE(read.entry(0, 0).name + read.entry(0, 1).name, u"BA"_s);
    }
};

LOTARO_TEST_MAIN(FameTest, QCoreApplication)
#include "tst_fame.moc"
