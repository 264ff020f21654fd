#include "ScriptedRandom.h"
#include "TestMain.h"

#include "core/Deal.h"
#include "core/GameClock.h"
#include "core/RandomSource.h"

#include <QMap>

class DealTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void smallScreenExample();
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

// The 10 x 8 board on a 640 x 480 screen, to the twip.
void DealTest::smallScreenExample()
{
    const BoardLayout l = computeBoardLayout(9600, 7200, 10, 8, 760);
    QCOMPARE(l.cards[0], (TwipsPoint{319, 385}));
    QCOMPARE(l.panelX, 8688.0);
    QCOMPARE(l.cards[10], (TwipsPoint{319, 385 + 760 + 50}));
    QCOMPARE(l.cards[1], (TwipsPoint{319 + 760 + 50, 385}));
    QCOMPARE(l.menu[0], (TwipsPoint{8688, 3680}));
    QCOMPARE(l.menu[5], (TwipsPoint{8688, 5780}));
    QCOMPARE(l.player1, (TwipsPoint{8688, 1000}));
    QCOMPARE(l.score1, (TwipsPoint{8688, 1750}));
    QCOMPARE(l.clock, (TwipsPoint{8688, 2500}));
    QCOMPARE(l.player2, (TwipsPoint{8688, 3500}));
    QCOMPARE(l.score2, (TwipsPoint{8688, 4000}));
}

// On every screen and board, the cards form a grid with 50-twip gaps, row by row, centred in
// the area left of the side panel, and the menu ends 1420 twips above the bottom.
void DealTest::layout_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("cardSize");
    QTest::addColumn<int>("columns");
    QTest::addColumn<int>("rows");
    const struct {
        int w, h, c;
    } screens[] = {
        {640, 480, 760}, {800, 600, 980}, {1024, 768, 1300}, {1280, 1024, 1300}, {600, 400, 1300}};
    const struct {
        int columns, rows;
    } boards[] = {{10, 8}, {8, 6}, {6, 5}};
    for (const auto& s : screens)
        for (const auto& b : boards)
            QTest::addRow("%dx%d %dx%d", s.w, s.h, b.columns, b.rows)
                << s.w * 15 << s.h * 15 << s.c << b.columns << b.rows;
}

void DealTest::layout()
{
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(int, cardSize);
    QFETCH(int, columns);
    QFETCH(int, rows);
    const BoardLayout l = computeBoardLayout(width, height, columns, rows, cardSize);
    const double pitch = cardSize + 50;
    QCOMPARE(int(l.cards.size()), columns * rows);
    for (int k = 0; k < columns * rows; ++k) {
        QCOMPARE(l.cards[k].x, l.cards[0].x + (k % columns) * pitch);
        QCOMPARE(l.cards[k].y, l.cards[0].y + (k / columns) * pitch);
    }
    const TwipsPoint last = l.cards.back();
    QCOMPARE(l.cards[0].x, l.panelX - (last.x + cardSize));
    QCOMPARE(l.cards[0].y, height - (last.y + cardSize));
    QCOMPARE(l.panelX, width - 1.2 * cardSize);
    for (int k = 1; k < 6; ++k)
        QCOMPARE(l.menu[k].y - l.menu[k - 1].y, 420.0);
    QCOMPARE(l.menu[5].y, height - 1420.0);
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
