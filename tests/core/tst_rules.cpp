#include "MemoryStore.h"
#include "TestMain.h"

#include "core/Deal.h"
#include "core/GameClock.h"
#include "core/GameSettings.h"
#include "core/HallOfFame.h"
#include "core/NumberText.h"
#include "core/RandomSource.h"
#include "core/SettingsStore.h"
#include "core/TurnLogic.h"

using namespace Qt::StringLiterals;

namespace {
// Hands out the draws 0, 0, 0.99999994, 0.99, 0.3, 0.5, 0.26 and starts over at every deal.
struct ScriptedRandom final : RandomSource {
    void seedForDeal() override { next = 0, ++seeds; }
    float uniform() override
    {
        return std::array{0.0f, 0.0f, 0.99999994f, 0.99f, 0.3f, 0.5f, 0.26f}.at(next++);
    }
    size_t next = 0;
    int seeds = 0;
};

// What the board shows after a script: each card Down, Up, Paired or Removed; per click the
// sound, "-" ignored, "!" game over; the scores, the moves, who moves, the flip-back timer and
// the clock ("running" from the first click, "idle", or "wrong" when its state disagrees).
struct Shown {
    QString faces, sounds;
    int score1 = 0, score2 = 0, turned = 0, onMove = 1;
    bool flipTimer = false;
    QString clock;
};

// Plays a script (card clicks; "t" the flip-back tick; "r" the last pair taken off) on a board of
// pairs side by side, as the board window would.
Shown play(bool two, int interval, const QString& script)
{
    TurnLogic logic;
    QStringList values;
    for (int k = 0; k < 12; ++k)
        values.append(QString::number(k / 2 + 1));
    logic.deal(values, two, interval);
    Shown shown;
    int clockStarts = 0;
    for (const QString& step : script.split(u' ')) {
        if (step == u"t") {
            logic.flipBack();
            shown.flipTimer = false;
        } else if (step == u"r") {
            logic.removeLastPair();
        } else {
            const TurnLogic::Outcome o = logic.click(step.toInt(), shown.flipTimer, QTime(12, 0));
            shown.sounds += (o.ignored ? u"-"_s : QString::number(o.sound ? int(*o.sound) : 0)) +
                            (o.gameOver ? u"!"_s : QString());
            clockStarts += o.startClock;
            shown.flipTimer = shown.flipTimer || o.startFlipTimer;
        }
    }
    for (int k = 0; k < logic.cardCount(); ++k)
        shown.faces += u"DUPR"_s.at(int(logic.face(k)));
    const GameState& s = logic.state();
    shown.clock = clockStarts == 1 && !s.clockIdle && s.startTime == QTime(12, 0) ? u"running"_s
                  : clockStarts == 0 && s.clockIdle && s.startTime.isNull()       ? u"idle"_s
                                                                                  : u"wrong"_s;
    shown.score1 = s.score1;
    shown.score2 = s.score2;
    shown.turned = s.turnedCount;
    shown.onMove = s.player1OnMove ? 1 : 2;
    return shown;
}

// Flip-back interval (4000 ms is "Celý tah", the whole move), two players, clicks, what is shown.
// The click that finds the last pair ends the game at once and asks for no flip-back.
const struct {
    const char *name, *script;
    int interval;
    bool two;
    const char *faces, *sounds;
    int score1, score2, turned, onMove;
    bool flipTimer;
    const char* clock;
} moveExamples[] = {{"the first card again", "4 4", 1000, false, "DDDDUDDDDDDD", "1-", 0, 0, 0, 1,
                     false, "running"},
                    {"timed miss, no click meanwhile", "0 2 9 2 t", 3000, false, "DDDDDDDDDDDD",
                     "11--", 0, 0, 1, 1, false, "running"},
                    {"timed miss, then its first card", "0 2 t 0", 2000, false, "UDDDDDDDDDDD",
                     "111", 0, 0, 1, 1, false, "running"},
                    {"timed pair, gone with the tick", "6 7 t 0", 1000, false, "UDDDDDRRDDDD",
                     "121", 1, 0, 1, 1, false, "running"},
                    {"whole move miss, then its card", "0 3 3", 4000, false, "DDDUDDDDDDDD", "111",
                     0, 0, 1, 1, false, "running"},
                    {"whole move pair, then a card", "10 11 10 0", 4000, false, "UDDDDDDDDDRR",
                     "12-1", 1, 0, 1, 1, false, "running"},
                    {"two: a pair keeps the move, a miss passes it", "0 1 2 3 4 5 6 9 10 11 8 7",
                     4000, true, "RRRRRRDUUDRR", "121212111211", 3, 1, 0, 1, false, "idle"},
                    {"a whole game", "0 2 t 0 1 t 2 3 t 4 5 t 6 7 t 8 9 t 10 11 r", 1000, false,
                     "RRRRRRRRRRRR", "11121212121212!", 6, 0, 7, 1, false, "running"},
                    {"a whole game of two", "0 2 t 0 1 t 2 3 t 4 5 t 6 7 t 8 9 t 10 11 r", 1000,
                     true, "RRRRRRRRRRRR", "11121212121212!", 0, 6, 0, 2, false, "idle"},
                    {"a whole game of two, whole moves", "0 2 0 1 2 3 4 5 6 7 8 9 10 11", 4000,
                     true, "RRRRRRRRRRPP", "11121212121212!", 0, 6, 0, 2, false, "idle"}};

// Tables as moves/seconds, the new result "*"; the place it takes (-1: none); the five places and
// the working entry, where the fifth place drops out to and a result that does not enter stays.
// The large table admits only fewer moves than its fifth place: where that differs, its place
// and table follow.
const std::tuple<const char*, const char*, int, const char*, int, const char*> rankings[] = {
    {"", "50/600", 0, "*50/600 999/0 999/0 999/0 999/0 999/0", 0, nullptr},
    {"20/120 22/90 22/180 30/130", "22/120", 2, "20/120 22/90 *22/120 22/180 30/130 999/0", 2,
     nullptr},
    {"20/120 22/90 22/180 30/130", "22/90", 1, "20/120 *22/90 22/90 22/180 30/130 999/0", 1,
     nullptr},
    {"10/60 20/60 30/60 35/60 40/180", "40/179", 4, "10/60 20/60 30/60 35/60 *40/179 40/180", -1,
     "10/60 20/60 30/60 35/60 40/180 *40/179"},
    {"10/60 20/60 30/60 35/60 40/180", "40/180", 4, "10/60 20/60 30/60 35/60 *40/180 40/180", -1,
     "10/60 20/60 30/60 35/60 40/180 *40/180"},
    {"10/60 20/60 30/60 35/60 40/180", "40/181", -1, "10/60 20/60 30/60 35/60 40/180 *40/181", -1,
     nullptr},
    {"10/60 20/60 30/60 35/60 40/180", "39/3600", 4, "10/60 20/60 30/60 35/60 *39/3600 40/180", 4,
     nullptr},
    {"10/60 20/60 30/60 35/60 40/180", "41/1", -1, "10/60 20/60 30/60 35/60 40/180 *41/1", -1,
     nullptr}};

// The next game as a store gives it: players, board/class, faces, back, delay, card, names, sound.
QString text(const SettingsStore& store)
{
    const GameSettings s = applyChoice(loadChoice(store), 980);
    const auto n = [](int v) { return QString::number(v); };
    return u"%1 %2x%3/%4 %5 %6 %7 %8 %9"_s.arg(
        n(s.twoPlayers + 1), n(s.columns), n(s.rows), n(s.sizeClass), s.faceSet, s.backSet,
        n(s.flipDelay), n(s.cardSize),
        s.player1Name + u'/' + s.player2Name + (loadSoundOn(store) ? u" on" : u" off"));
}

// What the game reads from a stored text: a number (the leading one, half to even, 0 for none);
// a key edited by hand, as the next game or the medium table's first place (options stay in their
// group, names what their box takes, only "0" silences, what does not convert reads as absent).
const std::pair<const char*, const char*> numbers[] = {
    {"", "0"},    {"abc", "0"}, {" \t2  ", "2"}, {"7x", "7"},
    {"-1", "-1"}, {"1.4", "1"}, {"1.6", "2"},    {"2.5", "2"},
    {".9", "1"},  {"-", "0"},   {"٣", "0"},      {"99999999999999", "2147483647"}};
const std::tuple<const char*, const char*, QString, const char*> stored[] = {
    {"nothing stored", "Nastavení/Jiný", u"1"_s, "1 10x8/2 1 1 4000 980 / on"},
    {"8 x 6", "Nastavení/Počet", u"1"_s, "1 8x6/1 1 1 4000 980 / on"},
    {"6 x 5", "Nastavení/Počet", u"2"_s, "1 6x5/0 1 1 4000 980 / on"},
    {"flip empty", "Nastavení/Otočený", QString(), "1 10x8/2 1 1 1000 980 / on"},
    {"flip out of range", "Nastavení/Otočený", u"4"_s, "1 10x8/2 1 1 4000 980 / on"},
    {"face rounds into range", "Nastavení/Líc", u"4.6"_s, "1 10x8/2 5 1 4000 980 / on"},
    {"back last", "Nastavení/rub", u"5"_s, "1 10x8/2 1 6 4000 980 / on"},
    {"players fraction", "Nastavení/DvaHráči", u"1.4"_s, "2 10x8/2 1 1 4000 980 / on"},
    {"long name on two lines", "Nastavení/Hráč2", u"Jan\nNovák"_s + QString(5000, u'x'),
     "1 10x8/2 1 1 4000 980 /Jan No on"},
    {"cut inside a character", "Nastavení/Hráč1", u"Jména😀"_s, "1 10x8/2 1 1 4000 980 Jména/ on"},
    {"sound off", "Nastavení/Zvuk", u"0"_s, "1 10x8/2 1 1 4000 980 / off"},
    {"sound other", "Nastavení/Zvuk", u"ano"_s, "1 10x8/2 1 1 4000 980 / on"},
    {"hall: moves half a number", "Střední/0Otočené", u"12x"_s, "2000-01-01 ... 999 0"},
    {"hall: moves too many", "Střední/0Otočené", u"40000"_s, "2000-01-01 ... 999 0"},
    {"hall: moves negative", "Střední/0Otočené", u"-5"_s, "2000-01-01 ... 999 0"},
    {"hall: moves lowest", "Střední/0Otočené", u"-32768"_s, "2000-01-01 ... 999 0"},
    {"hall: moves over 999", "Střední/0Otočené", u"1000"_s, "2000-01-01 ... 999 0"},
    {"hall: moves 0", "Střední/0Otočené", u"0"_s, "2000-01-01 ... 0 0"},
    {"hall: direction marks", "Střední/0Jméno", u"\u202Eabc\u200Fde\u2066f\u2069g"_s,
     "2000-01-01 abcdef 999 0"},
    {"name with direction marks", "Nastavení/Hráč1", u"\u202Dab\u200E\u202Ccd"_s,
     "1 10x8/2 1 1 4000 980 abcd/ on"},
    {"hall: time out of range", "Střední/0Čas", u"0:61:00"_s, "2000-01-01 ... 999 0"},
    {"hall: time", "Střední/0Čas", u" 1:02:03 "_s, "2000-01-01 ... 999 3723"},
    {"hall: date not a date", "Střední/0Datum", u"32.13.2000"_s, "2000-01-01 ... 999 0"},
    {"hall: date", "Střední/0Datum", u"5.12.2026"_s, "2026-12-05 ... 999 0"},
    {"hall: long name on two lines", "Střední/0Jméno", u"Jan\nNovák"_s + QString(5000, u'x'),
     "2000-01-01 Jan No 999 0"}};
} // namespace

// The rules without a window: deal, captions, moves, hall of fame, what the settings give.
class RulesTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Each pair takes the first two empty places drawn; a draw just below 1 lands on the last card.
    void shuffle_data()
    {
        QTest::addColumn<int>("cards");
        QTest::addColumn<uint>("seed");     // 0: the scripted draws
        QTest::addColumn<QString>("board"); // empty: not pinned
        QTest::newRow("drawn again") << 4 << 0u << "1,2,2,1";
        QTest::newRow("6 x 5, seed 1")
            << 30 << 1u
            << "3,12,5,3,4,6,10,5,13,4,7,6,1,10,15,9,8,13,14,15,7,2,14,11,12,9,11,2,8,1";
        QTest::newRow("6 x 5, seed 2")
            << 30 << 2u
            << "2,13,12,7,5,1,6,11,8,5,13,14,4,1,4,9,3,9,7,14,6,10,15,10,8,11,15,2,3,12";
        QTest::newRow("8 x 6") << 48 << 3u << QString();
        QTest::newRow("10 x 8") << 80 << 4u << QString();
    }
    // A fixed seed repeats its board exactly, deal after deal, with every pair number twice.
    void shuffle()
    {
        QFETCH(int, cards);
        QFETCH(uint, seed);
        QFETCH(QString, board);
        ScriptedRandom scripted;
        MersenneRandom mersenne(seed);
        RandomSource& random = seed ? static_cast<RandomSource&>(mersenne) : scripted;
        const QStringList values = shuffleCardValues(cards, random);
        QCOMPARE(shuffleCardValues(cards, random), values);
        QCOMPARE(scripted.seeds, seed ? 0 : 2);
        for (int pair = 1; pair <= cards / 2; ++pair)
            QCOMPARE(values.count(QString::number(pair)), 2);
        if (!board.isEmpty())
            QCOMPARE(values.join(u','), board);
    }

    // Without a fixed seed every deal starts from the clock, so two deals differ.
    void clockSeededDealsDiffer()
    {
        MersenneRandom random;
        const QStringList first = shuffleCardValues(80, random);
        QTRY_VERIFY(shuffleCardValues(80, random) != first);
    }

    void captions_data()
    {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("expected");
        const auto clock = [f = u"h:mm:ss.zzz"_s](const char* start, const char* now) {
            return GameClock::caption(QTime::fromString(start, f), QTime::fromString(now, f));
        };
        QTest::newRow("negative") << NumberText::withSignSpace(-3) << "-3";
        QTest::newRow("hours") << clock("8:00:00.000", "19:02:03.000") << "Čas: 11:02:03";
        QTest::newRow("fractions dropped")
            << clock("10:00:00.900", "10:00:01.100") << "Čas: 0:00:01";
        QTest::newRow("no time") << QString::number(
                                        GameClock::elapsedSeconds({10, 0, 0, 100}, {10, 0, 0, 900}))
                                 << "0";
        QTest::newRow("over a day") << u"Čas: "_s + GameClock::longTime(90061) << "Čas: 1:01:01";
        QTest::newRow("past midnight") << clock("23:59:50.000", "0:00:10.000") << "Čas: 0:00:20";
    }
    void captions()
    {
        QFETCH(QString, caption);
        QTEST(caption, "expected");
    }

    void moves_data()
    {
        QTest::addColumn<int>("row");
        for (int row = 0; row < int(std::size(moveExamples)); ++row)
            QTest::newRow(moveExamples[row].name) << row;
    }
    void moves()
    {
        QFETCH(int, row);
        const auto& example = moveExamples[row];
        const Shown shown = play(example.two, example.interval, QString::fromUtf8(example.script));
        QCOMPARE(shown.faces, QString::fromUtf8(example.faces));
        QCOMPARE(shown.sounds, QString::fromUtf8(example.sounds));
        QCOMPARE(shown.score1, example.score1);
        QCOMPARE(shown.score2, example.score2);
        QCOMPARE(shown.turned, example.turned);
        QCOMPARE(shown.onMove, example.onMove);
        QCOMPARE(shown.flipTimer, example.flipTimer);
        QCOMPARE(shown.clock, QString::fromUtf8(example.clock));
    }

    // The count stops at 16 bits: a wrapped, negative count would be an unbeatable record.
    void moveCountStopsAtItsEnd()
    {
        const Shown shown =
            play(false, TurnLogic::wholeMove, QStringList(32770, u"0 2"_s).join(u' '));
        QCOMPARE(shown.turned, 32767);
        QCOMPARE(shown.clock, u"running"_s);
    }

    void ranking_data()
    {
        QTest::addColumn<int>("sizeClass");
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("result");
        QTest::addColumn<int>("place");
        QTest::addColumn<QString>("expected");
        for (int c : {0, 1, 2})
            for (const auto& [table, result, place, expected, large, largeTable] : rankings)
                QTest::addRow("class %d, %s into %s", c, result, table)
                    << c << table << result << (c == 2 ? large : place)
                    << QString::fromUtf8(c == 2 && largeTable ? largeTable : expected);
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
        QTEST(place(result, u"*"_s).value_or(-1), "place");
        QStringList shown;
        for (int p = 0; p <= HallOfFame::places; ++p) {
            const HallOfFameEntry e = p < 5 ? fame.entry(sizeClass, p) : fame.candidate(sizeClass);
            shown << (e.name == u"*" ? e.name : QString()) + QString::number(e.turned) + u'/' +
                         QString::number(e.time);
        }
        QTEST(shown.join(u' '), "expected");
    }

    // Two copies over one file, their saves interleaved: each save starts from what is stored
    // now, so no record is lost whoever saves last, also when the other copy's hall of fame
    // came from the menu; "Vymazat" then "OK" still empties the tables.
    void twoCopiesKeepBothRecords()
    {
        IniSettingsStore a, b;
        const auto result = [](const char* name, int turned) {
            return RankedResult{0,
                                {QDate(2026, 1, 1), QString::fromUtf8(name), qint16(turned), 60}};
        };
        const auto names = [] {
            IniSettingsStore store;
            HallOfFame read;
            read.loadHallOfFame(store);
            QString shown;
            for (int p = 0; p < HallOfFame::places; ++p)
                shown += read.entry(0, p).name.left(1);
            return shown;
        };
        QVERIFY(HallOfFame().saveHallOfFame(a)); // a fresh file
        HallOfFame shownByA;
        QCOMPARE(shownByA.rankResult(a, 0, result("A", 30).entry), 0);
        QVERIFY(HallOfFame().saveMerged(b, result("B", 20)));
        QVERIFY(HallOfFame().saveMerged(a, result("A", 30)));
        QCOMPARE(names(), u"BA..."_s);
        HallOfFame menuOfA;
        menuOfA.loadHallOfFame(a);
        QVERIFY(HallOfFame().saveMerged(b, result("C", 25)));
        QVERIFY(HallOfFame().saveMerged(a, std::nullopt));
        QCOMPARE(names(), u"BCA.."_s);
        menuOfA.clearHallOfFame();
        QVERIFY(menuOfA.saveHallOfFame(a));
        QCOMPARE(names(), u"....."_s);
    }

    // A save that cannot be written says why; what it wrote stays in the store and reaches the
    // file at the next save that can write.
    void failedSaveKeptAndRetried()
    {
        IniSettingsStore store;
        const QString file = store.fileName();
        QFile::remove(file);
        QVERIFY(QDir().mkpath(file));
        HallOfFame fame;
        QVERIFY(!fame.saveMerged(store, RankedResult{1, {QDate(2026, 1, 1), u"Eva"_s, 12, 60}}));
        QCOMPARE(store.failureReason(), u"na místě souboru je adresář"_s);
        QVERIFY(!store.sync());
        QVERIFY(QDir().rmdir(file));
        QVERIFY(fame.saveMerged(store, std::nullopt));
        QCOMPARE(store.failureReason(), QString());
        QFile written(file);
        QVERIFY(written.open(QIODevice::ReadOnly));
        QVERIFY(written.readAll().contains("0Jm%E9no=Eva"));
    }

    void numbers_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("expected");
        for (const auto& [text, expected] : ::numbers)
            QTest::addRow("'%s'", text) << text << QString::fromUtf8(expected).toInt();
    }
    void numbers()
    {
        QFETCH(QString, text);
        QTEST(NumberText::readAsNumber(text), "expected");
    }

    // A value as the store holds it, read back as the next game's options or a hall-of-fame entry.
    void storedValues_data()
    {
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        for (const auto& [name, key, text, expected] : stored)
            QTest::newRow(name) << QString::fromUtf8(key).section(u'/', 0, 0)
                                << QString::fromUtf8(key).section(u'/', 1) << text << expected;
    }
    void storedValues()
    {
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, text);
        MemoryStore store;
        store.write(section, key, text);
        if (section == SettingsKeys::section) {
            QTEST(::text(store), "expected");
            return;
        }
        HallOfFame hall;
        hall.placeCandidate(1, 5, u"old"_s, 1, QDate(2026, 1, 1)); // what the load replaces
        hall.insertCandidate(1);
        hall.loadHallOfFame(store);
        const HallOfFameEntry e = hall.entry(1, 0);
        const QString entry = e.date.toString(Qt::ISODate) + u' ' + e.name + u' ' +
                              QString::number(e.turned) + u' ' + QString::number(e.time);
        QTEST(entry, "expected");
    }

    // The real store lives in the user's configuration directory; a file edited by hand is read
    // as written (a name with a comma is a list to the file format), and a save comes back whole.
    void iniStore()
    {
        const QString fileName = IniSettingsStore().fileName();
        QCOMPARE(fileName, QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                               u"/Lotaro/Lotaro.ini"_s);
        QFile file(fileName);
        QVERIFY(QDir().mkpath(QFileInfo(fileName).path()) && file.open(QIODevice::WriteOnly));
        file.write("[Nastaven%ED]\nDvaHr%E1%U010Di=1\nL%EDc=4\nHr%E1%U010D1=Jan, Eva\nZvuk=0\n");
        file.close();
        IniSettingsStore edited;
        QCOMPARE(text(edited), u"2 10x8/2 4 1 4000 980 Jan, E/ off"_s);
        saveSoundOn(edited, false);
        saveChoice(edited, OptionChoice{0, 1, 3, 5, 1, u"Žofie"_s, u"Jiří"_s});
        QCOMPARE(text(IniSettingsStore()), u"1 8x6/1 3 6 2000 980 Žofie/Jiří off"_s);
    }
};

LOTARO_TEST_MAIN(RulesTest, QCoreApplication)
#include "tst_rules.moc"
