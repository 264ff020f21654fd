#include "GameHarness.h"
#include "MemoryStore.h"
#include "NewGame.h"
#include "RecordingSound.h"
#include "TestMain.h"

#include "core/AssetPaths.h"
#include "core/AssetStore.h"
#include "ui/ActionLabel.h"
#include "ui/CardPicture.h"
#include "core/RunState.h"
#include "windows/frmLotaro.h"
#include "core/RandomSource.h"
#include "core/GameSettings.h"

#include <QApplication>
#include <QLabel>
#include <QTimer>

#include <memory>

// Games played on the board window with real clicks.
class PlayTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void onePlayerMoves();
    void pairLeavesAfterTheDelay();
    void twoPlayersTakeTurns();
    void soundSwitchSilencesEveryRequest();
    void wholeGame_data();
    void wholeGame();

private:
    void start(const QList<std::pair<QString, QString>>& choice);
    CardPicture* card(int k) const;
    QLabel* label(const char* name) const;
    QTimer* timer(const char* name) const;
    // Both cards of a pair, and a card of another pair.
    QList<int> pairOf(int k) const;
    bool showsFace(int k) const;
    bool showsBack(int k) const;
    QColor colour(const char* name) const;

    GameHarness m_game;
};

void PlayTest::init()
{
    m_game.reset(11);
}

void PlayTest::cleanup()
{
    m_game.finish();
    for (QWidget* w : QApplication::topLevelWidgets())
        QVERIFY(!w->isVisible());
}

void PlayTest::start(const QList<std::pair<QString, QString>>& choice)
{
    m_game.store.write(SettingsKeys::section, SettingsKeys::boardSize, QStringLiteral("2"));
    for (const auto& [key, value] : choice)
        m_game.store.write(SettingsKeys::section, key, value);
    m_game.start();
    QVERIFY(QTest::qWaitForWindowExposed(m_game.board.get()));
}

CardPicture* PlayTest::card(int k) const
{
    return m_game.board->findChild<CardPicture*>(QStringLiteral("imgLotaro_") + QString::number(k));
}

QLabel* PlayTest::label(const char* name) const
{
    return m_game.board->findChild<QLabel*>(QString::fromUtf8(name));
}

QTimer* PlayTest::timer(const char* name) const
{
    return m_game.board->findChild<QTimer*>(QString::fromLatin1(name));
}

QList<int> PlayTest::pairOf(int k) const
{
    const QStringList values = m_game.board->gameState().cardValue;
    QList<int> result{k};
    result.append(values.indexOf(values[k], k + 1) >= 0 ? values.indexOf(values[k], k + 1)
                                                        : values.indexOf(values[k]));
    for (int other = 0; other < values.size(); ++other)
        if (values[other] != values[k]) {
            result.append(other);
            break;
        }
    return result;
}

bool PlayTest::showsFace(int k) const
{
    const auto* face =
        m_game.board->findChild<CardPicture*>(QStringLiteral("imgLíc_") + QString::number(k));
    return card(k)->isVisible() && card(k)->picture().cacheKey() == face->picture().cacheKey();
}

bool PlayTest::showsBack(int k) const
{
    const auto* back = m_game.board->findChild<CardPicture*>(QStringLiteral("imgRub"));
    return card(k)->isVisible() && card(k)->picture().cacheKey() == back->picture().cacheKey();
}

QColor PlayTest::colour(const char* name) const
{
    return label(name)->palette().color(QPalette::Active, QPalette::WindowText);
}

// One player: the clock starts with the first click, moves are counted, a miss is shown for
// the delay and keeps every click out meanwhile, then turns face down.
void PlayTest::onePlayerMoves()
{
    start({{SettingsKeys::flip, QStringLiteral("0")}});
    const QList<int> cards = pairOf(0);
    const int a = cards[0], other = cards[2];
    const int third = pairOf(other)[1] == a ? cards[1] : pairOf(other)[1];
    QVERIFY(!timer("Timer1")->isActive());

    QTest::mouseClick(card(a), Qt::LeftButton);
    QVERIFY(timer("Timer1")->isActive());
    QVERIFY(showsFace(a));
    QCOMPARE(label("lblSkóre1")->text(), QStringLiteral("Otočené:   0"));
    QCOMPARE(m_game.sound.requests, QStringList{AssetPaths::sound(m_game.run->tempPath, 1)});
    QCOMPARE(m_game.sound.withOptions, 0);

    QTest::mouseClick(card(other), Qt::LeftButton);
    QCOMPARE(label("lblSkóre1")->text(), QStringLiteral("Otočené:   1"));
    QVERIFY(timer("Timer2")->isActive());
    QCOMPARE(timer("Timer2")->interval(), 1000);
    QCOMPARE(m_game.sound.requests.size(), 2);
    QVERIFY(m_game.sound.requests[1].endsWith(QStringLiteral("Lotaro/zvuky/1.wav")));

    QTest::mouseClick(card(third), Qt::LeftButton);
    QVERIFY(showsBack(third));
    QCOMPARE(m_game.sound.requests.size(), 2);

    QTRY_VERIFY(!timer("Timer2")->isActive());
    QVERIFY(showsBack(a));
    QVERIFY(showsBack(other));
    QCOMPARE(label("lblSkóre1")->text(), QStringLiteral("Otočené:   1"));

    // The clock shows the time since the first click.
    m_game.clock.advance(65);
    QTRY_COMPARE(label("lblČas")->text(), QStringLiteral("Čas: 0:01:05"));
}

// A found pair stays face up, unclickable, for the delay and then leaves the board.
void PlayTest::pairLeavesAfterTheDelay()
{
    start({{SettingsKeys::flip, QStringLiteral("0")}});
    const QList<int> cards = pairOf(3);
    QTest::mouseClick(card(cards[0]), Qt::LeftButton);
    QTest::mouseClick(card(cards[1]), Qt::LeftButton);
    QVERIFY(m_game.sound.requests.last().endsWith(QStringLiteral("Lotaro/zvuky/2.wav")));
    QVERIFY(showsFace(cards[0]));
    QVERIFY(!card(cards[0])->isEnabled());
    QVERIFY(!card(cards[1])->isEnabled());
    QTRY_VERIFY(!card(cards[0])->isVisible());
    QVERIFY(!card(cards[1])->isVisible());
    QCOMPARE(label("lblSkóre1")->text(), QStringLiteral("Otočené:   1"));
}

// Two players: a pair scores for the player on move, who moves again; a miss passes the turn,
// and the colours follow it.
void PlayTest::twoPlayersTakeTurns()
{
    start(
        {{SettingsKeys::players, QStringLiteral("1")}, {SettingsKeys::flip, QStringLiteral("3")}});
    const QColor grey(0x80, 0x80, 0x80); // the standard scheme's application workspace
    QList<int> first = pairOf(0);
    QTest::mouseClick(card(first[0]), Qt::LeftButton);
    QVERIFY(!timer("Timer1")->isActive());
    QTest::mouseClick(card(first[1]), Qt::LeftButton);
    QCOMPARE(label("lblSkóre1")->text(), QStringLiteral(" 1"));
    QCOMPARE(label("lblSkóre2")->text(), QStringLiteral("0"));
    QCOMPARE(colour("lblHráč1"), QColor(Qt::black));
    QVERIFY(!timer("Timer2")->isActive()); // "Celý tah"

    // A miss: player 2 is on move.
    int x = -1, y = -1;
    const QStringList values = m_game.board->gameState().cardValue;
    for (int k = 0; k < values.size() && y < 0; ++k)
        if (card(k)->isEnabled() && showsBack(k)) {
            if (x < 0)
                x = k;
            else if (values[k] != values[x])
                y = k;
        }
    QTest::mouseClick(card(x), Qt::LeftButton);
    QVERIFY(!card(first[0])->isVisible()); // the pair left with the next click
    QTest::mouseClick(card(y), Qt::LeftButton);
    QCOMPARE(colour("lblHráč1"), grey);
    QCOMPARE(colour("lblSkóre1"), grey);
    QCOMPARE(colour("lblHráč2"), QColor(Qt::black));
    QCOMPARE(colour("lblSkóre2"), QColor(Qt::black));
    QVERIFY(showsFace(x) && showsFace(y));

    // Player 2 finds the pair of the first missed card.
    const int partner = pairOf(x)[1];
    QTest::mouseClick(card(x), Qt::LeftButton);
    QVERIFY(showsBack(y));
    QTest::mouseClick(card(partner), Qt::LeftButton);
    QCOMPARE(label("lblSkóre2")->text(), QStringLiteral(" 1"));
    QCOMPARE(label("lblSkóre1")->text(), QStringLiteral(" 1"));
    QCOMPARE(colour("lblHráč2"), QColor(Qt::black));
}

void PlayTest::soundSwitchSilencesEveryRequest()
{
    start({{SettingsKeys::sound, QStringLiteral("0")}});
    const QList<int> cards = pairOf(0);
    QTest::mouseClick(card(cards[0]), Qt::LeftButton);
    QTest::mouseClick(card(cards[2]), Qt::LeftButton);
    QTest::mouseClick(card(cards[1]), Qt::LeftButton);
    QVERIFY(m_game.sound.requests.isEmpty());
    QTest::mouseClick(m_game.board->findChild<ActionLabel*>(QStringLiteral("lblNabídka_1")),
                      Qt::LeftButton);
    QTest::mouseClick(card(cards[0]), Qt::LeftButton);
    QCOMPARE(m_game.sound.requests.size(), 1);
}

void PlayTest::wholeGame_data()
{
    QTest::addColumn<QString>("flip");
    QTest::addColumn<QString>("players");
    QTest::newRow("1 sec, one player") << QStringLiteral("0") << QStringLiteral("0");
    QTest::newRow("2 sec, two players") << QStringLiteral("1") << QStringLiteral("1");
    QTest::newRow("3 sec, one player") << QStringLiteral("2") << QStringLiteral("0");
    QTest::newRow("whole move, two players") << QStringLiteral("3") << QStringLiteral("1");
}

// Finding the last pair ends the game inside that click and deals the next one, whose board
// takes clicks at once in every flip-back mode.
void PlayTest::wholeGame()
{
    QFETCH(QString, flip);
    QFETCH(QString, players);
    start({{SettingsKeys::flip, flip}, {SettingsKeys::players, players}});
    const QStringList values = m_game.board->gameState().cardValue;
    for (int pair = 1; pair <= 15; ++pair) {
        const int a = values.indexOf(QString::number(pair));
        const int b = values.indexOf(QString::number(pair), a + 1);
        // The flip-back delay itself is checked above; here its tick is not waited for.
        if (timer("Timer2")->isActive())
            QVERIFY(QMetaObject::invokeMethod(timer("Timer2"), "timeout", Qt::DirectConnection));
        QVERIFY(!timer("Timer2")->isActive());
        QTest::mouseClick(card(a), Qt::LeftButton);
        if (pair == 15) {
            // The end of the game runs inside the last click: results, then the next game.
            if (players == u"1") {
                answerOK(QStringLiteral("frmKonec2"));
            } else {
                answerOK(QStringLiteral("frmkonec1"));
                answerOK(QStringLiteral("frmSíň"));
            }
            answerNewGame();
        }
        QTest::mouseClick(card(b), Qt::LeftButton);
        if (pair < 15) {
            QCOMPARE(m_game.board->gameState().pairsFound, pair);
        }
    }
    // A new board, every card face down, the clocks stopped.
    QCOMPARE(m_game.board->gameState().pairsFound, 0);
    QVERIFY(!timer("Timer1")->isActive());
    QVERIFY(!timer("Timer2")->isActive());
    for (int k = 0; k < 30; ++k) {
        QVERIFY(showsBack(k));
        QVERIFY(card(k)->isEnabled());
    }
    QTest::mouseClick(card(4), Qt::LeftButton);
    QVERIFY(showsFace(4));
}

LOTARO_TEST_MAIN(PlayTest, QApplication)
#include "tst_play.moc"
