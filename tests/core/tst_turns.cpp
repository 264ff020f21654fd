#include "TestMain.h"

#include "core/TurnLogic.h"

namespace {
// A board whose pairs lie side by side: cards 2k and 2k+1 show pair k+1.
QStringList neighbouringPairs(int n)
{
    QStringList values;
    for (int k = 0; k < n; ++k)
        values.append(QString::number(k / 2 + 1));
    return values;
}

const QTime noon(12, 0, 0);

// Plays a script on a fresh board as the board window would: numbers are card clicks, "t" is
// the flip-back timer's tick. The timer keeps clicks out while it runs and starts when asked.
struct Player {
    TurnLogic logic;
    bool timer = false;
    QString sounds; // one digit per accepted click, "-" per ignored one
    int clockStarts = 0;
    bool gameOver = false;

    Player(int cards, bool two, int interval)
    {
        logic.deal(neighbouringPairs(cards), two, interval);
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
            const TurnLogic::Outcome o = logic.click(step.toInt(), timer, noon);
            sounds += o.ignored ? QStringLiteral("-") : QString::number(o.sound);
            QVERIFY(!o.ignored || o.changed.empty());
            clockStarts += o.startClock;
            gameOver = gameOver || o.gameOver;
            timer = timer || o.startFlipTimer;
        }
    }
    QString faces() const
    {
        QString f;
        for (int k = 0; k < logic.cardCount(); ++k)
            f += QStringLiteral("DUPR").at(int(logic.face(k)));
        return f;
    }
};
} // namespace

class TurnsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void moves_data();
    void moves();
    void gameEndsInsideTheLastClick_data();
    void gameEndsInsideTheLastClick();
    void moveCountStopsAtItsEnd();
};

void TurnsTest::moves_data()
{
    QTest::addColumn<int>("interval");
    QTest::addColumn<bool>("two");
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("faces"); // cards 0..11: Down, Up, Paired, Removed
    QTest::addColumn<QString>("sounds");
    QTest::addColumn<QList<int>>("counts"); // score1, score2, turnedCount, player on move
    QTest::addColumn<bool>("timer");

    const int whole = TurnLogic::wholeMove;
    QTest::newRow("first card") << 1000 << false << "5"
                                << "DDDDDUDDDDDD"
                                << "1" << QList<int>{0, 0, 0, 1} << false;
    QTest::newRow("the first card again") << 1000 << false << "4 4"
                                          << "DDDDUDDDDDDD"
                                          << "1-" << QList<int>{0, 0, 0, 1} << false;
    QTest::newRow("the first card again, whole move") << whole << false << "4 4"
                                                      << "DDDDUDDDDDDD"
                                                      << "1-" << QList<int>{0, 0, 0, 1} << false;
    QTest::newRow("timed miss, cards open until the tick")
        << 2000 << false << "0 2"
        << "UDUDDDDDDDDD"
        << "11" << QList<int>{0, 0, 1, 1} << true;
    QTest::newRow("timed miss, no click while the timer runs")
        << 3000 << false << "0 2 9 2 t"
        << "DDDDDDDDDDDD"
        << "11--" << QList<int>{0, 0, 1, 1} << false;
    QTest::newRow("timed miss, then its first card anew")
        << 2000 << false << "0 2 t 0"
        << "UDDDDDDDDDDD"
        << "111" << QList<int>{0, 0, 1, 1} << false;
    QTest::newRow("timed pair, shown until the tick") << 1000 << false << "6 7"
                                                      << "DDDDDDPPDDDD"
                                                      << "12" << QList<int>{1, 0, 1, 1} << true;
    QTest::newRow("timed pair, gone with the tick") << 1000 << false << "6 7 t 0"
                                                    << "UDDDDDRRDDDD"
                                                    << "121" << QList<int>{1, 0, 1, 1} << false;
    QTest::newRow("whole move miss, turned down by the next click")
        << whole << false << "0 3 8"
        << "DDDDDDDDUDDD"
        << "111" << QList<int>{0, 0, 1, 1} << false;
    QTest::newRow("whole move miss, an open card begins the next move")
        << whole << false << "0 3 3"
        << "DDDUDDDDDDDD"
        << "111" << QList<int>{0, 0, 1, 1} << false;
    QTest::newRow("whole move pair, not clickable, removed by the next click")
        << whole << false << "10 11 10 0"
        << "UDDDDDDDDDRR"
        << "12-1" << QList<int>{1, 0, 1, 1} << false;
    QTest::newRow("every move counts, pair or miss") << whole << false << "0 1 2 5 6 9"
                                                     << "RRDDDDUDDUDD"
                                                     << "121111" << QList<int>{1, 0, 3, 1} << false;
    QTest::newRow("two players: pairs keep the move, a miss passes it")
        << whole << true << "0 1 2 3 4 5 6 9 10 11 8 7"
        << "RRRRRRDUUDRR"
        << "121212111211" << QList<int>{3, 1, 0, 1} << false;
    QTest::newRow("two players, player 2 on move") << 1000 << true << "0 3"
                                                   << "UDDUDDDDDDDD"
                                                   << "11" << QList<int>{0, 0, 0, 2} << true;
}

void TurnsTest::moves()
{
    QFETCH(int, interval);
    QFETCH(bool, two);
    QFETCH(QString, script);
    QFETCH(QList<int>, counts);
    QFETCH(bool, timer);
    Player p(12, two, interval);
    p.play(script);
    QTEST(p.faces(), "faces");
    QTEST(p.sounds, "sounds");
    const GameState& s = p.logic.state();
    QCOMPARE((QList<int>{s.score1, s.score2, s.turnedCount, s.player1OnMove ? 1 : 2}), counts);
    QCOMPARE(p.timer, timer);
    QVERIFY(!p.gameOver);
    // One player's clock starts with the first accepted click, at its time; two players have none.
    QCOMPARE(p.clockStarts, two ? 0 : 1);
    QCOMPARE(s.clockIdle, two);
    if (!two)
        QCOMPARE(s.startTime, noon);
}

void TurnsTest::gameEndsInsideTheLastClick_data()
{
    QTest::addColumn<int>("cards");
    QTest::addColumn<int>("interval");
    QTest::addColumn<bool>("two");
    for (int n : {80, 48, 30})
        for (int interval : {1000, 4000}) {
            QTest::addRow("%d cards, %d ms, one player", n, interval) << n << interval << false;
            QTest::addRow("%d cards, %d ms, two players", n, interval) << n << interval << true;
        }
}

// The click that finds the last pair ends the game at once and asks for no flip-back; the end
// of the game takes the last pair off the board.
void TurnsTest::gameEndsInsideTheLastClick()
{
    QFETCH(int, cards);
    QFETCH(int, interval);
    QFETCH(bool, two);
    Player p(cards, two, interval);
    // One miss first, so that both players score in a two-player game.
    QString script = QStringLiteral("0 2");
    for (int pair = 0; pair < cards / 2; ++pair) {
        p.play(script);
        QVERIFY(!p.gameOver);
        script = (p.timer ? QStringLiteral("t %1 %2") : QStringLiteral("%1 %2"))
                     .arg(2 * pair)
                     .arg(2 * pair + 1);
    }
    p.play(script);
    QVERIFY(p.gameOver);
    QVERIFY(!p.timer);
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
void TurnsTest::moveCountStopsAtItsEnd()
{
    Player p(12, false, TurnLogic::wholeMove);
    for (int move = 0; move < 32770; ++move)
        p.play(QStringLiteral("0 2"));
    QCOMPARE(p.logic.state().turnedCount, 32767);
}

LOTARO_TEST_MAIN(TurnsTest, QCoreApplication)
#include "tst_turns.moc"
