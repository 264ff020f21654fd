#include "ScriptedRandom.h"
#include "TestMain.h"

#include "core/Deal.h"
#include "core/GameClock.h"
#include "core/RandomSource.h"

#include <QMap>

#include <cmath>

class DealTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void layout_data();
    void layout();
    void drawAndRetry();
    void shuffleInvariants_data();
    void shuffleInvariants();
    void shuffleIsPinnedBySeed();
    void clockSeededDealsDiffer();
    void captions();
    void clock_data();
    void clock();
};

// Worked examples, to the twip: the panel 1.2 card sizes from the right edge with its labels
// at fixed heights, the menu ending 1420 twips above the bottom in steps of 420, and the cards
// in rows with 50-twip gaps, centred in the area left of the panel (reaching under it and off
// the screen where the screen is too small).
void DealTest::layout_data()
{
    QTest::addColumn<QList<int>>("screenAndBoard"); // width, height (px), card size, columns, rows
    QTest::addColumn<QList<int>>("expected"); // panel x, first card x, y, last card x, y, menu 0 y
    QTest::newRow("640x480, 10 x 8")
        << QList<int>{640, 480, 760, 10, 8} << QList<int>{8688, 319, 385, 7609, 6055, 3680};
    QTest::newRow("800x600, 8 x 6")
        << QList<int>{800, 600, 980, 8, 6} << QList<int>{10824, 1317, 1435, 8527, 6585, 5480};
    QTest::newRow("1024x768, 6 x 5")
        << QList<int>{1024, 768, 1300, 6, 5} << QList<int>{13800, 2875, 2410, 9625, 7810, 8000};
    QTest::newRow("1280x1024, 8 x 6")
        << QList<int>{1280, 1024, 1300, 8, 6} << QList<int>{17640, 3445, 3655, 12895, 10405, 11840};
    QTest::newRow("600x400, 10 x 8")
        << QList<int>{600, 400, 1300, 10, 8} << QList<int>{7440, -3005, -2375, 9145, 7075, 2480};
}

void DealTest::layout()
{
    QFETCH(QList<int>, screenAndBoard);
    QFETCH(QList<int>, expected);
    const int columns = screenAndBoard[3], rows = screenAndBoard[4];
    const BoardLayout l = computeBoardLayout(screenAndBoard[0] * 15.0, screenAndBoard[1] * 15.0,
                                             columns, rows, screenAndBoard[2]);
    const auto twips = [](double v) { return int(std::lround(v)); };
    QCOMPARE(int(l.cards.size()), columns * rows);
    QCOMPARE((QList<int>{twips(l.panelX), twips(l.cards[0].x), twips(l.cards[0].y),
                         twips(l.cards.back().x), twips(l.cards.back().y), twips(l.menu[0].y)}),
             expected);
    // Row by row: the card after the first row's last starts the second row.
    QCOMPARE(l.cards[columns].x, l.cards[0].x);
    QCOMPARE(twips(l.cards[columns].y - l.cards[0].y), screenAndBoard[2] + 50);
    QCOMPARE(twips(l.cards[1].x - l.cards[0].x), screenAndBoard[2] + 50);
    QCOMPARE(twips(l.menu[5].y - l.menu[0].y), 5 * 420);
    const QList<double> panel{l.player1.y, l.score1.y, l.clock.y, l.player2.y, l.score2.y};
    QCOMPARE(panel, (QList<double>{1000, 1750, 2500, 3500, 4000}));
    for (const TwipsPoint& p : {l.player1, l.score1, l.clock, l.player2, l.score2, l.menu[3]})
        QCOMPARE(p.x, l.panelX);
}

// Each pair takes the first two empty places that the draws hit; occupied places are drawn
// again, and a draw just below 1 lands on the last card.
void DealTest::drawAndRetry()
{
    ScriptedRandom random({0.0f, 0.0f, 0.99999994f, 0.99f, 0.3f, 0.5f, 0.26f});
    QCOMPARE(shuffleCardValues(4, random), (QStringList{QStringLiteral("1"), QStringLiteral("2"),
                                                        QStringLiteral("2"), QStringLiteral("1")}));
    QCOMPARE(random.seeds, 1);
}

void DealTest::shuffleInvariants_data()
{
    QTest::addColumn<int>("cards");
    QTest::newRow("10 x 8") << 80;
    QTest::newRow("8 x 6") << 48;
    QTest::newRow("6 x 5") << 30;
}

// Every pair number occurs exactly twice and no place stays empty, whatever the seed.
void DealTest::shuffleInvariants()
{
    QFETCH(int, cards);
    for (std::uint32_t seed = 1; seed <= 200; ++seed) {
        MersenneRandom random(seed);
        const QStringList values = shuffleCardValues(cards, random);
        QMap<int, int> counts;
        for (const QString& v : values)
            ++counts[v.toInt()];
        QCOMPARE(counts.size(), cards / 2);
        QCOMPARE(counts.firstKey(), 1);
        QCOMPARE(counts.lastKey(), cards / 2);
        for (int count : counts)
            QCOMPARE(count, 2);
    }
}

// A fixed seed repeats the board exactly, deal after deal; two seeds give these two boards.
void DealTest::shuffleIsPinnedBySeed()
{
    MersenneRandom first(1);
    const QStringList a = shuffleCardValues(30, first);
    QCOMPARE(shuffleCardValues(30, first), a);
    QCOMPARE(
        a.join(u','),
        QStringLiteral("3,12,5,3,4,6,10,5,13,4,7,6,1,10,15,9,8,13,14,15,7,2,14,11,12,9,11,2,8,1"));
    MersenneRandom second(2);
    QCOMPARE(
        shuffleCardValues(30, second).join(u','),
        QStringLiteral("2,13,12,7,5,1,6,11,8,5,13,14,4,1,4,9,3,9,7,14,6,10,15,10,8,11,15,2,3,12"));
}

// Without a fixed seed every deal starts from the clock, so two deals differ.
void DealTest::clockSeededDealsDiffer()
{
    MersenneRandom random;
    const QStringList a = shuffleCardValues(80, random);
    QTRY_VERIFY(shuffleCardValues(80, random) != a);
}

void DealTest::captions()
{
    QCOMPARE(DealText::playerCaption(QString(), 1), QStringLiteral("Hráč 1"));
    QCOMPARE(DealText::playerCaption(QString(), 2), QStringLiteral("Hráč 2"));
    QCOMPARE(DealText::playerCaption(QStringLiteral("Eliška"), 2), QStringLiteral("Eliška"));
    QCOMPARE(DealText::turnedCaption(0), QStringLiteral("Otočené:   0"));
    QCOMPARE(DealText::turnedCaption(17), QStringLiteral("Otočené:   17"));
    QCOMPARE(DealText::initialClockCaption(), QStringLiteral("Čas: 0:00:00"));
}

void DealTest::clock_data()
{
    QTest::addColumn<QTime>("start");
    QTest::addColumn<QTime>("now");
    QTest::addColumn<QString>("caption");
    QTest::newRow("start") << QTime(10, 0, 0) << QTime(10, 0, 0) << QStringLiteral("Čas: 0:00:00");
    QTest::newRow("65 s") << QTime(10, 0, 0) << QTime(10, 1, 5) << QStringLiteral("Čas: 0:01:05");
    QTest::newRow("hours") << QTime(8, 0, 0) << QTime(19, 2, 3) << QStringLiteral("Čas: 11:02:03");
    QTest::newRow("fractions dropped")
        << QTime(10, 0, 0, 900) << QTime(10, 0, 1, 100) << QStringLiteral("Čas: 0:00:01");
    QTest::newRow("past midnight")
        << QTime(23, 59, 50) << QTime(0, 0, 10) << QStringLiteral("Čas: 0:00:20");
}

void DealTest::clock()
{
    QFETCH(QTime, start);
    QFETCH(QTime, now);
    QTEST(GameClock::caption(start, now), "caption");
}

LOTARO_TEST_MAIN(DealTest, QCoreApplication)
#include "tst_deal.moc"
