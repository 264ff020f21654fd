#include "TestMain.h"

#include "core/Deal.h"
#include "core/GameClock.h"
#include "core/NumberText.h"
#include "core/RandomSource.h"

#include <array>

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
} // namespace

class DealTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Each pair takes the first two empty places that the draws hit; occupied places are drawn
    // again, and a draw just below 1 lands on the last card.
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
        const auto clock = [](const char* start, const char* now) {
            const QString form = u"h:mm:ss.zzz"_s;
            return GameClock::caption(QTime::fromString(start, form), QTime::fromString(now, form));
        };
        QTest::newRow("player 1") << DealText::playerCaption({}, 1) << "Hráč 1";
        QTest::newRow("player 2") << DealText::playerCaption({}, 2) << "Hráč 2";
        QTest::newRow("named player") << DealText::playerCaption(u"Eliška"_s, 2) << "Eliška";
        QTest::newRow("no move") << DealText::turnedCaption(0) << "Otočené:   0";
        QTest::newRow("17 moves") << DealText::turnedCaption(17) << "Otočené:   17";
        QTest::newRow("no pair") << DealText::scoreCaption(0) << "0";
        QTest::newRow("3 pairs") << DealText::scoreCaption(3) << " 3";
        QTest::newRow("negative") << NumberText::withSignSpace(-3) << "-3";
        QTest::newRow("clock at the deal") << DealText::initialClockCaption() << "Čas: 0:00:00";
        QTest::newRow("65 s") << clock("10:00:00.000", "10:01:05.000") << "Čas: 0:01:05";
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
};

LOTARO_TEST_MAIN(DealTest, QCoreApplication)
#include "tst_deal.moc"
