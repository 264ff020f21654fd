#include "TestMain.h"

#include "core/TurnLogic.h"

using namespace Qt::StringLiterals;

namespace {
// Plays a script on a fresh board whose pairs lie side by side (cards 2k and 2k+1 show pair
// k + 1) as the board window would: numbers are card clicks, "t" is the flip-back timer's tick.
// The timer keeps clicks out while it runs and starts when asked.
struct Player {
    TurnLogic logic;
    bool timer = false, gameOver = false;
    QString sounds; // one digit per accepted click, "-" per ignored one
    int clockStarts = 0;

    Player(int cards, bool two, int interval)
    {
        QStringList values;
        for (int k = 0; k < cards; ++k)
            values.append(QString::number(k / 2 + 1));
        logic.deal(values, two, interval);
    }
    void play(const QString& script)
    {
        for (const QString& step : script.split(u' ', Qt::SkipEmptyParts)) {
            if (step == u"t") {
                QVERIFY(timer);
                logic.flipBack();
                timer = false;
                continue;
            }
            const TurnLogic::Outcome o = logic.click(step.toInt(), timer, QTime(12, 0));
            sounds += o.ignored ? u"-"_s : QString::number(o.sound);
            QVERIFY(!o.ignored || o.changed.empty());
            clockStarts += o.startClock;
            gameOver = gameOver || o.gameOver;
            timer = timer || o.startFlipTimer;
        }
    }
    // What the board shows: each card Down, Up, Paired or Removed; the sounds; the scores; the
    // move count; who is on move; whether the flip-back timer runs.
    QString shown() const
    {
        QString faces;
        for (int k = 0; k < logic.cardCount(); ++k)
            faces += u"DUPR"_s.at(int(logic.face(k)));
        const GameState& s = logic.state();
        return u"%1 %2 %3:%4 %5 P%6%7"_s.arg(faces, sounds)
            .arg(s.score1)
            .arg(s.score2)
            .arg(s.turnedCount)
            .arg(s.player1OnMove ? 1 : 2)
            .arg(timer ? " timer" : "");
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
    {"two, player 2 on move", 1000, true, "0 3", "UDDUDDDDDDDD 11 0:0 0 P2 timer"}};
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
        Player p(12, two, interval);
        p.play(script);
        QTEST(p.shown(), "shown");
        QVERIFY(!p.gameOver);
        // One player's clock starts with the first accepted click, at its time; two have none.
        QCOMPARE(p.clockStarts, two ? 0 : 1);
        QCOMPARE(p.logic.state().clockIdle, two);
        QCOMPARE(p.logic.state().startTime, two ? QTime() : QTime(12, 0));
    }

    void gameEndsInsideTheLastClick_data()
    {
        QTest::addColumn<int>("cards");
        QTest::addColumn<int>("interval");
        QTest::addColumn<bool>("two");
        for (int n : {80, 48, 30})
            for (int interval : {1000, 4000})
                for (bool two : {false, true})
                    QTest::addRow("%d cards, %d ms, %d players", n, interval, two + 1)
                        << n << interval << two;
    }
    // The click that finds the last pair ends the game at once and asks for no flip-back; the
    // end of the game takes the last pair off the board.
    void gameEndsInsideTheLastClick()
    {
        QFETCH(int, cards);
        QFETCH(int, interval);
        QFETCH(bool, two);
        Player p(cards, two, interval);
        QString script =
            u"0 2"_s; // one miss first, so that both players score in a two-player game
        for (int pair = 0; pair < cards / 2; ++pair) {
            p.play(script);
            QVERIFY(!p.gameOver);
            script = (p.timer ? u"t %1 %2"_s : u"%1 %2"_s).arg(2 * pair).arg(2 * pair + 1);
        }
        p.play(script);
        QVERIFY(p.gameOver && !p.timer);
        const GameState& s = p.logic.state();
        QCOMPARE(s.pairsFound, cards / 2);
        QCOMPARE(s.score1 + s.score2, cards / 2);
        QVERIFY(!two || s.score2 > 0);
        QCOMPARE(s.turnedCount, two ? 0 : cards / 2 + 1);
        QCOMPARE(p.logic.removeLastPair(), (std::vector<int>{cards - 2, cards - 1}));
        QCOMPARE(p.logic.face(cards - 1), CardFace::Removed);
    }

    // The count stops where its 16 bits end: a wrapped, negative count would be an unbeatable
    // first place in the hall of fame.
    void moveCountStopsAtItsEnd()
    {
        Player p(12, false, TurnLogic::wholeMove);
        for (int move = 0; move < 32770; ++move)
            p.play(u"0 2"_s);
        QCOMPARE(p.logic.state().turnedCount, 32767);
    }
};

LOTARO_TEST_MAIN(TurnsTest, QCoreApplication)
#include "tst_turns.moc"
