#include "TestMain.h"

#include "core/TurnLogic.h"

using namespace Qt::StringLiterals;

namespace {
// Plays a script on a board whose pairs lie side by side (cards 2k and 2k+1 show pair k + 1) as
// the board window would: numbers are card clicks, "t" the flip-back timer's tick, "r" the end of
// the game taking the last pair off. The timer keeps clicks out while it runs.
struct Player {
    TurnLogic logic;
    bool timer = false;
    // Per click the sound's digit, "-" when ignored, "!" when the game ends; "?" for a tick that
    // no timer asked for or a card that changed without the board being told.
    QString sounds;
    int clockStarts = 0;

    Player(bool two, int interval)
    {
        QStringList values;
        for (int k = 0; k < 12; ++k)
            values.append(QString::number(k / 2 + 1));
        logic.deal(values, two, interval);
    }
    QString faces() const
    {
        QString faces;
        for (int k = 0; k < logic.cardCount(); ++k)
            faces += u"DUPR"_s.at(int(logic.face(k)));
        return faces;
    }
    void play(const QString& script)
    {
        for (const QString& step : script.split(u' ')) {
            const QString before = faces();
            std::vector<int> changed;
            if (step == u"t") {
                sounds += timer ? u""_s : u"?"_s;
                changed = logic.flipBack();
                timer = false;
            } else if (step == u"r") {
                changed = logic.removeLastPair();
            } else {
                const TurnLogic::Outcome o = logic.click(step.toInt(), timer, QTime(12, 0));
                sounds += (o.ignored ? u"-"_s : QString::number(o.sound)) +
                          (o.gameOver ? u"!"_s : QString());
                clockStarts += o.startClock;
                timer = timer || o.startFlipTimer;
                changed = o.changed;
            }
            const QString after = faces();
            for (int k = 0; k < after.size(); ++k)
                if (after[k] != before[k] && std::count(changed.begin(), changed.end(), k) == 0)
                    sounds += u'?';
        }
    }
    // What the board shows: each card Down, Up, Paired or Removed; the sounds; the scores; the
    // move count; who is on move; whether the flip-back timer runs.
    QString shown() const
    {
        const GameState& s = logic.state();
        const auto n = [](int v) { return QString::number(v); };
        return u"%1 %2 %3:%4 %5 P%6%7"_s.arg(faces(), sounds, n(s.score1), n(s.score2),
                                             n(s.turnedCount), n(s.player1OnMove ? 1 : 2),
                                             timer ? u" timer"_s : QString());
    }
};

// Flip-back interval (4000 ms is "Celý tah", the whole move), two players, clicks, what is shown
const std::tuple<const char*, int, bool, const char*, const char*> moveExamples[] = {
    {"first card", 1000, false, "5", "DDDDDUDDDDDD 1 0:0 0 P1"},
    {"the first card again", 1000, false, "4 4", "DDDDUDDDDDDD 1- 0:0 0 P1"},
    {"the first card again, whole move", 4000, false, "4 4", "DDDDUDDDDDDD 1- 0:0 0 P1"},
    {"timed miss, open until the tick", 2000, false, "0 2", "UDUDDDDDDDDD 11 0:0 1 P1 timer"},
    {"timed miss, no click meanwhile", 3000, false, "0 2 9 2 t", "DDDDDDDDDDDD 11-- 0:0 1 P1"},
    {"timed miss, then its first card", 2000, false, "0 2 t 0", "UDDDDDDDDDDD 111 0:0 1 P1"},
    {"timed pair, shown until the tick", 1000, false, "6 7", "DDDDDDPPDDDD 12 1:0 1 P1 timer"},
    {"timed pair, gone with the tick", 1000, false, "6 7 t 0", "UDDDDDRRDDDD 121 1:0 1 P1"},
    {"whole move miss, then a card", 4000, false, "0 3 8", "DDDDDDDDUDDD 111 0:0 1 P1"},
    {"whole move miss, then its card", 4000, false, "0 3 3", "DDDUDDDDDDDD 111 0:0 1 P1"},
    {"whole move pair, then a card", 4000, false, "10 11 10 0", "UDDDDDDDDDRR 12-1 1:0 1 P1"},
    {"every move counts", 4000, false, "0 1 2 5 6 9", "RRDDDDUDDUDD 121111 1:0 3 P1"},
    {"two: a pair keeps the move, a miss passes it", 4000, true, "0 1 2 3 4 5 6 9 10 11 8 7",
     "RRRRRRDUUDRR 121212111211 3:1 0 P1"},
    {"two, player 2 on move", 1000, true, "0 3", "UDDUDDDDDDDD 11 0:0 0 P2 timer"},
    // The click that finds the last pair ends the game at once and asks for no flip-back.
    {"a whole game", 1000, false, "0 2 t 0 1 t 2 3 t 4 5 t 6 7 t 8 9 t 10 11 r",
     "RRRRRRRRRRRR 11121212121212! 6:0 7 P1"},
    {"a whole game, whole moves", 4000, false, "0 2 0 1 2 3 4 5 6 7 8 9 10 11 r",
     "RRRRRRRRRRRR 11121212121212! 6:0 7 P1"},
    {"a whole game of two", 1000, true, "0 2 t 0 1 t 2 3 t 4 5 t 6 7 t 8 9 t 10 11 r",
     "RRRRRRRRRRRR 11121212121212! 0:6 0 P2"},
    {"a whole game of two, whole moves", 4000, true, "0 2 0 1 2 3 4 5 6 7 8 9 10 11",
     "RRRRRRRRRRPP 11121212121212! 0:6 0 P2"}};
} // namespace

class TurnsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void moves_data()
    {
        QTest::addColumn<int>("interval");
        QTest::addColumn<bool>("two");
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("shown");
        for (const auto& [name, interval, two, script, shown] : moveExamples)
            QTest::newRow(name) << interval << two << script << shown;
    }
    void moves()
    {
        QFETCH(int, interval);
        QFETCH(bool, two);
        QFETCH(QString, script);
        Player p(two, interval);
        p.play(script);
        QTEST(p.shown(), "shown");
        // One player's clock starts with the first accepted click, at its time; two have none.
        QCOMPARE(p.clockStarts, two ? 0 : 1);
        QCOMPARE(p.logic.state().clockIdle, two);
        QCOMPARE(p.logic.state().startTime, two ? QTime() : QTime(12, 0));
    }

    // The count stops where its 16 bits end: a wrapped, negative count would be an unbeatable
    // first place in the hall of fame.
    void moveCountStopsAtItsEnd()
    {
        Player p(false, TurnLogic::wholeMove);
        for (int move = 0; move < 32770; ++move)
            p.play(u"0 2"_s);
        QCOMPARE(p.logic.state().turnedCount, 32767);
    }
};

LOTARO_TEST_MAIN(TurnsTest, QCoreApplication)
#include "tst_turns.moc"
