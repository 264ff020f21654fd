#include "TestMain.h"

#include "core/TurnLogic.h"

#include <memory>

Q_DECLARE_METATYPE(CardFace)

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
} // namespace

class TurnsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void firstCardOfAMove();
    void ignoredClicks_data();
    void ignoredClicks();
    void timedMiss();
    void timedPair();
    void wholeMoveMiss();
    void wholeMoveMissReclickingAnOpenCard();
    void wholeMovePair();
    void pairsKeepThePlayerOnMove();
    void movesCountPairsAndMisses();
    void clockStartsWithTheFirstAcceptedClick();
    void gameEndsInsideTheLastClick_data();
    void gameEndsInsideTheLastClick();

private:
    void start(int n, bool two, int interval);
    TurnLogic::Outcome click(int i, bool timerRunning = false);

    GameState m_state;
    std::unique_ptr<TurnLogic> m_logic;
    bool m_timer = false; // what the window's flip-back timer would be doing
};

void TurnsTest::init()
{
    m_state = GameState();
    m_timer = false;
}

void TurnsTest::start(int n, bool two, int interval)
{
    m_state.cardValue = neighbouringPairs(n);
    m_state.resetAfterDeal();
    m_logic = std::make_unique<TurnLogic>(m_state);
    m_logic->deal(n, two, interval);
}

// Clicks as the window would: the timer keeps clicks out while it runs, and starts when asked.
TurnLogic::Outcome TurnsTest::click(int i, bool timerRunning)
{
    TurnLogic::Outcome o = m_logic->click(i, timerRunning || m_timer, noon);
    if (o.startFlipTimer)
        m_timer = true;
    return o;
}

void TurnsTest::firstCardOfAMove()
{
    start(30, false, 1000);
    const auto o = click(5);
    QVERIFY(!o.ignored);
    QCOMPARE(o.sound, 1);
    QCOMPARE(o.changed, std::vector<int>{5});
    QCOMPARE(m_logic->face(5), CardFace::Up);
    QCOMPARE(m_state.cardsUp, 1);
    QCOMPARE(m_state.firstIndex, 5);
    QCOMPARE(m_state.firstValue, 3);
    QCOMPARE(m_state.lastClicked, 5);
    QVERIFY(!o.startFlipTimer);
}

void TurnsTest::ignoredClicks_data()
{
    QTest::addColumn<int>("interval");
    QTest::addColumn<QList<int>>("before");
    QTest::addColumn<int>("click");
    QTest::addColumn<bool>("timerRunning");
    QTest::newRow("the first card again") << 1000 << QList<int>{4} << 4 << false;
    QTest::newRow("the first card again, whole move") << 4000 << QList<int>{4} << 4 << false;
    QTest::newRow("a third card while two are shown") << 2000 << QList<int>{4, 7} << 9 << true;
    QTest::newRow("one of the two shown cards") << 3000 << QList<int>{4, 7} << 7 << true;
    QTest::newRow("a paired card, whole move") << 4000 << QList<int>{4, 5} << 4 << false;
    QTest::newRow("a removed card") << 4000 << QList<int>{4, 5, 8} << 5 << false;
}

// Ignored clicks change nothing at all.
void TurnsTest::ignoredClicks()
{
    QFETCH(int, interval);
    QFETCH(QList<int>, before);
    QFETCH(int, click);
    QFETCH(bool, timerRunning);
    start(30, false, interval);
    for (int i : before)
        QVERIFY(!this->click(i).ignored);
    const GameState snapshot = m_state;
    std::vector<CardFace> faces;
    for (int k = 0; k < 30; ++k)
        faces.push_back(m_logic->face(k));
    const auto o = this->click(click, timerRunning);
    QVERIFY(o.ignored);
    QVERIFY(o.changed.empty());
    QCOMPARE(o.sound, 0);
    QCOMPARE(m_state.cardsUp, snapshot.cardsUp);
    QCOMPARE(m_state.lastClicked, snapshot.lastClicked);
    QCOMPARE(m_state.turnedCount, snapshot.turnedCount);
    QCOMPARE(m_state.lastWasPair, snapshot.lastWasPair);
    for (int k = 0; k < 30; ++k)
        QCOMPARE(m_logic->face(k), faces[size_t(k)]);
}

// A miss in a timed mode stays open until the tick, which turns both cards face down.
void TurnsTest::timedMiss()
{
    start(30, false, 2000);
    click(0);
    const auto o = click(2);
    QCOMPARE(o.sound, 1);
    QVERIFY(o.startFlipTimer);
    QCOMPARE(m_logic->face(0), CardFace::Up);
    QCOMPARE(m_logic->face(2), CardFace::Up);
    QCOMPARE(m_state.cardsUp, 0);
    QCOMPARE(m_state.firstValue, 0);
    QCOMPARE(m_state.secondValue, 0);
    QVERIFY(!m_state.lastWasPair);
    const std::vector<int> changed = m_logic->flipBack();
    QCOMPARE(changed, (std::vector<int>{0, 2}));
    QCOMPARE(m_logic->face(0), CardFace::Down);
    QCOMPARE(m_logic->face(2), CardFace::Down);
    // After the move a click on its first card is a normal click.
    m_timer = false;
    QVERIFY(!click(0).ignored);
}

void TurnsTest::timedPair()
{
    start(30, false, 1000);
    click(6);
    const auto o = click(7);
    QCOMPARE(o.sound, 2);
    QVERIFY(o.startFlipTimer);
    QCOMPARE(m_logic->face(6), CardFace::Paired);
    QCOMPARE(m_logic->face(7), CardFace::Paired);
    QCOMPARE(m_state.pairsFound, 1);
    QCOMPARE(m_state.score1, 1);
    QVERIFY(m_state.lastWasPair);
    QCOMPARE(m_logic->flipBack(), (std::vector<int>{6, 7}));
    QCOMPARE(m_logic->face(6), CardFace::Removed);
    QVERIFY(m_state.lastWasPair); // kept until the next click
    m_timer = false;
    click(0);
    QVERIFY(!m_state.lastWasPair);
}

// "Celý tah": a miss stays open until the next click, which first turns it down.
void TurnsTest::wholeMoveMiss()
{
    start(30, false, TurnLogic::wholeMove);
    click(0);
    const auto second = click(3);
    QVERIFY(!second.startFlipTimer);
    QCOMPARE(m_logic->face(0), CardFace::Up);
    QCOMPARE(m_logic->face(3), CardFace::Up);
    const auto third = click(8);
    QCOMPARE(third.changed, (std::vector<int>{0, 3, 8}));
    QCOMPARE(m_logic->face(0), CardFace::Down);
    QCOMPARE(m_logic->face(3), CardFace::Down);
    QCOMPARE(m_logic->face(8), CardFace::Up);
    QCOMPARE(m_state.cardsUp, 1);
}

// Clicking one of the two open cards starts the next move with that very card.
void TurnsTest::wholeMoveMissReclickingAnOpenCard()
{
    start(30, false, TurnLogic::wholeMove);
    click(0);
    click(3);
    const auto o = click(3);
    QVERIFY(!o.ignored);
    QCOMPARE(m_logic->face(0), CardFace::Down);
    QCOMPARE(m_logic->face(3), CardFace::Up);
    QCOMPARE(m_state.cardsUp, 1);
    QCOMPARE(m_state.firstIndex, 3);
    QCOMPARE(o.sound, 1);
}

// "Celý tah": a pair stays visible but cannot be clicked until the next click removes it.
void TurnsTest::wholeMovePair()
{
    start(30, false, TurnLogic::wholeMove);
    click(10);
    click(11);
    QCOMPARE(m_logic->face(10), CardFace::Paired);
    QVERIFY(click(10).ignored);
    click(0);
    QCOMPARE(m_logic->face(10), CardFace::Removed);
    QCOMPARE(m_logic->face(11), CardFace::Removed);
    QCOMPARE(m_logic->face(0), CardFace::Up);
}

// Two players: pairs keep the player on move and score for them; a miss passes the turn.
void TurnsTest::pairsKeepThePlayerOnMove()
{
    start(30, true, TurnLogic::wholeMove);
    for (int pair = 0; pair < 3; ++pair) {
        click(2 * pair);
        click(2 * pair + 1);
        QVERIFY(m_state.player1OnMove);
    }
    QCOMPARE(m_state.score1, 3);
    click(6);
    click(9);
    QVERIFY(!m_state.player1OnMove);
    click(10);
    click(11);
    QCOMPARE(m_state.score2, 1);
    QVERIFY(!m_state.player1OnMove);
    click(12);
    click(15);
    QVERIFY(m_state.player1OnMove);
    QCOMPARE(m_state.score1, 3);
    QCOMPARE(m_state.turnedCount, 0); // two players count no moves
}

// One player: every completed move counts, pair or miss.
void TurnsTest::movesCountPairsAndMisses()
{
    start(30, false, TurnLogic::wholeMove);
    click(0);
    QCOMPARE(m_state.turnedCount, 0);
    click(1);
    click(2);
    click(5);
    click(6);
    click(9);
    QCOMPARE(m_state.turnedCount, 3);
    QCOMPARE(m_state.score1, 1);
}

void TurnsTest::clockStartsWithTheFirstAcceptedClick()
{
    start(30, false, 1000);
    QVERIFY(click(3).startClock);
    QCOMPARE(m_state.startTime, noon);
    QVERIFY(!m_state.clockIdle);
    QVERIFY(!click(4).startClock);
    start(30, true, 1000);
    QVERIFY(!click(3).startClock);
    QVERIFY(m_state.clockIdle);
}

void TurnsTest::gameEndsInsideTheLastClick_data()
{
    QTest::addColumn<int>("cards");
    QTest::addColumn<int>("interval");
    QTest::addColumn<bool>("two");
    QTest::addColumn<int>("turnedBefore");
    for (int n : {80, 48, 30})
        for (int interval : {1000, 4000}) {
            QTest::addRow("%d cards, %d ms, one player", n, interval)
                << n << interval << false << 0;
            QTest::addRow("%d cards, %d ms, two players", n, interval)
                << n << interval << true << 0;
        }
    QTest::newRow("the move count stops at its end") << 30 << 4000 << false << 32760;
}

// The click that finds the last pair ends the game at once and asks for no flip-back.
void TurnsTest::gameEndsInsideTheLastClick()
{
    QFETCH(int, cards);
    QFETCH(int, interval);
    QFETCH(bool, two);
    QFETCH(int, turnedBefore);
    start(cards, two, interval);
    m_state.turnedCount = qint16(turnedBefore);
    // One miss first, so that both players score in a two-player game.
    click(0);
    click(2);
    for (int pair = 0; pair < cards / 2; ++pair) {
        if (m_timer) {
            m_logic->flipBack();
            m_timer = false;
        }
        click(2 * pair);
        const auto o = click(2 * pair + 1);
        const bool last = pair == cards / 2 - 1;
        QCOMPARE(o.gameOver, last);
        if (last)
            QVERIFY(!o.startFlipTimer);
    }
    QCOMPARE(m_state.pairsFound, cards / 2);
    QCOMPARE(m_state.score1 + m_state.score2, cards / 2);
    QCOMPARE(m_state.turnedCount, two ? 0 : qMin(32767, turnedBefore + cards / 2 + 1));
    QCOMPARE(m_logic->removeLastPair(), (std::vector<int>{cards - 2, cards - 1}));
    QVERIFY(!m_state.lastWasPair);
}

LOTARO_TEST_MAIN(TurnsTest, QCoreApplication)
#include "tst_turns.moc"
