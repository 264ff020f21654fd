#include "GameHarness.h"
#include "Hover.h"
#include "MemoryStore.h"
#include "NewGame.h"
#include "RecordingSound.h"
#include "TestMain.h"

#include "core/AssetStore.h"
#include "core/GameSettings.h"
#include "core/RandomSource.h"
#include "ui/ActionLabel.h"
#include "ui/CardPicture.h"
#include "windows/frmLotaro.h"

#include <QLabel>
#include <QTimer>

#include <memory>

// The end of a game: result windows, the hall of fame, and the way on to the next game.
class EndGameTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void onePlayerNewRecord();
    void onePlayerWithoutRecord();
    void twoPlayers_data();
    void twoPlayers();
    void clearWhileTheRowBlinks();
    void fromTheMenuNothingIsMarked();

private:
    void start(int boardSize, bool two);
    void click(int k);
    // Finds pairs for the player on move; the last pair is left for the test to click.
    void findPairs(int count);
    void miss();
    QList<int> remainingPair() const;
    int endSoundRequests() const;
    static QLabel* label(QWidget* w, const QString& name) { return w->findChild<QLabel*>(name); }

    GameHarness m_game;
    QSet<QString> m_found;
};

void EndGameTest::init()
{
    m_game.reset(5);
    m_found.clear();
}

void EndGameTest::cleanup()
{
    m_game.finish();
    for (QWidget* w : QApplication::topLevelWidgets())
        QVERIFY(!w->isVisible());
}

void EndGameTest::start(int boardSize, bool two)
{
    m_game.store.write(SettingsKeys::section, SettingsKeys::boardSize, QString::number(boardSize));
    m_game.store.write(SettingsKeys::section, SettingsKeys::players,
                       two ? QStringLiteral("1") : QStringLiteral("0"));
    m_game.start();
    QVERIFY(QTest::qWaitForWindowExposed(m_game.board.get()));
}

void EndGameTest::click(int k)
{
    QTest::mouseClick(
        m_game.board->findChild<CardPicture*>(QStringLiteral("imgLotaro_") + QString::number(k)),
        Qt::LeftButton);
}

QList<int> EndGameTest::remainingPair() const
{
    const QStringList values = m_game.board->gameState().cardValue;
    for (int k = 0; k < values.size(); ++k)
        if (!m_found.contains(values[k]))
            return {k, int(values.indexOf(values[k], k + 1))};
    return {};
}

void EndGameTest::findPairs(int count)
{
    for (int i = 0; i < count; ++i) {
        const QList<int> pair = remainingPair();
        click(pair[0]);
        click(pair[1]);
        m_found.insert(m_game.board->gameState().cardValue[pair[0]]);
    }
}

void EndGameTest::miss()
{
    const QStringList values = m_game.board->gameState().cardValue;
    const QList<int> pair = remainingPair();
    for (int k = 0; k < values.size(); ++k)
        if (!m_found.contains(values[k]) && values[k] != values[pair[0]]) {
            click(pair[0]);
            click(k);
            return;
        }
}

int EndGameTest::endSoundRequests() const
{
    return int(m_game.sound.requests.filter(QStringLiteral("Lotaro/zvuky/3.wav")).size());
}

// A first game on a fresh store: the result window shows name, moves and time, the hall of
// fame opens with the new row bold and blinking and the fanfare once, and its "OK" stores it.
void EndGameTest::onePlayerNewRecord()
{
    start(2, false);
    findPairs(14);
    m_game.clock.advance(90);
    onNextModal(
        [this](QWidget* w) {
            QCOMPARE(label(w, QStringLiteral("lblHráč1"))->text(), QStringLiteral("Hráč 1"));
            QCOMPARE(label(w, QStringLiteral("lblOtočené"))->text(), QStringLiteral("15"));
            QCOMPARE(label(w, QStringLiteral("lblČas"))->text(), QStringLiteral("0:01:30"));
            QCOMPARE(label(m_game.board.get(), QStringLiteral("lblSkóre1"))->text(),
                     QStringLiteral("Otočené:   15"));
            QVERIFY(!label(m_game.board.get(), QStringLiteral("lblHráč1"))->isEnabled());
            QVERIFY(!m_game.board->findChild<QTimer*>(QStringLiteral("Timer1"))->isActive());
            QTest::mouseClick(w->findChild<ActionLabel*>(QStringLiteral("lblOK")), Qt::LeftButton);
        },
        {}, QStringLiteral("frmkonec1"));
    onNextModal(
        [this](QWidget* w) {
            QLabel* name = label(w, QStringLiteral("lblJméno_10"));
            QVERIFY(name->font().bold());
            QVERIFY(!label(w, QStringLiteral("lblJméno_11"))->font().bold());
            QCOMPARE(name->text(), QStringLiteral("Hráč 1"));
            QCOMPARE(label(w, QStringLiteral("lblČas_10"))->text(), QStringLiteral("0:01:30"));
            QCOMPARE(label(w, QStringLiteral("lblDatum_10"))->text(), QStringLiteral("6.12.2026"));
            QCOMPARE(label(w, QStringLiteral("lblDatum_0"))->text(), QStringLiteral("1.1.2000"));
            QCOMPARE(label(w, QStringLiteral("lblOtočené_0"))->text(), QStringLiteral("999"));
            QTRY_VERIFY(name->isHidden());
            QTRY_VERIFY(!name->isHidden());
            QTRY_COMPARE(endSoundRequests(), 1);
            QTRY_VERIFY(name->isHidden());
            QCOMPARE(endSoundRequests(), 1);
            QVERIFY(m_game.store.writes.filter(QStringLiteral("Malý/")).isEmpty());
            QTest::mouseClick(w->findChild<ActionLabel*>(QStringLiteral("lblOK")), Qt::LeftButton);
        },
        {}, QStringLiteral("frmSíň"));
    answerNewGame();
    findPairs(1);
    QCOMPARE(m_game.store.values.value(QStringLiteral("Malý/0Jméno")), QStringLiteral("Hráč 1"));
    QCOMPARE(m_game.store.values.value(QStringLiteral("Malý/0Otočené")), QStringLiteral("15"));
    QCOMPARE(m_game.store.values.value(QStringLiteral("Malý/0Čas")), QStringLiteral("0:01:30"));
    QCOMPARE(m_game.store.values.value(QStringLiteral("Malý/0Datum")), QStringLiteral("6.12.2026"));
    QCOMPARE(m_game.store.writes.filter(QStringLiteral("Malý/")).size(), 20);
    QCOMPARE(m_game.board->gameState().pairsFound, 0); // the next game is dealt
    QVERIFY(label(m_game.board.get(), QStringLiteral("lblHráč1"))->isEnabled());
}

// A result that does not enter: the result window, then straight the new-game dialog.
void EndGameTest::onePlayerWithoutRecord()
{
    for (int p = 0; p < 5; ++p)
        m_game.store.write(QStringLiteral("Malý"), QString::number(p) + QStringLiteral("Otočené"),
                           QStringLiteral("15"));
    start(2, false);
    findPairs(13);
    miss();
    bool nextWasDialog = false;
    onNextModal(
        [&](QWidget* w) {
            QCOMPARE(label(w, QStringLiteral("lblOtočené"))->text(), QStringLiteral("16"));
            onNextModal([&](QWidget* next) {
                nextWasDialog = next->objectName() == u"frmNováHra";
                QTest::mouseClick(next->findChild<ActionLabel*>(QStringLiteral("lblOK")),
                                  Qt::LeftButton);
            });
            QTest::mouseClick(w->findChild<ActionLabel*>(QStringLiteral("lblOK")), Qt::LeftButton);
        },
        {}, QStringLiteral("frmkonec1"));
    findPairs(2);
    QVERIFY(nextWasDialog);
    QVERIFY(m_game.store.writes.filter(QStringLiteral("Malý/0Jméno")).isEmpty());
}

void EndGameTest::twoPlayers_data()
{
    QTest::addColumn<int>("boardSize");
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("second");
    QTest::addColumn<bool>("sound");
    QTest::addColumn<QString>("score1");
    QTest::addColumn<QString>("score2");
    QTest::newRow("12 : 12") << 1 << 12 << 12 << true << QStringLiteral(" 12")
                             << QStringLiteral(" 12");
    QTest::newRow("10 : 14") << 1 << 10 << 14 << true << QStringLiteral(" 10")
                             << QStringLiteral(" 14");
    QTest::newRow("0 : 40") << 0 << 0 << 40 << true << QStringLiteral("0") << QStringLiteral(" 40");
    QTest::newRow("10 : 14, sound off")
        << 1 << 10 << 14 << false << QStringLiteral(" 10") << QStringLiteral(" 14");
}

// Two players: both names and scores as on the board, the winner blinking (nobody on a
// draw), the fanfare on the second tick while the sound is on.
void EndGameTest::twoPlayers()
{
    QFETCH(int, boardSize);
    QFETCH(int, first);
    QFETCH(int, second);
    QFETCH(bool, sound);
    if (!sound)
        m_game.store.write(SettingsKeys::section, SettingsKeys::sound, QStringLiteral("0"));
    start(boardSize, true);
    findPairs(first);
    miss();
    findPairs(second - 1);
    onNextModal(
        [&](QWidget* w) {
            QTEST(label(w, QStringLiteral("lblSkóre1"))->text(), "score1");
            QTEST(label(w, QStringLiteral("lblSkóre2"))->text(), "score2");
            QCOMPARE(label(w, QStringLiteral("lblHráč1"))->text(), QStringLiteral("Hráč 1"));
            QLabel* winner = first > second ? label(w, QStringLiteral("lblSkóre1"))
                                            : label(w, QStringLiteral("lblSkóre2"));
            QLabel* loser = first > second ? label(w, QStringLiteral("lblHráč2"))
                                           : label(w, QStringLiteral("lblHráč1"));
            if (first == second) {
                // Nothing blinks; the second tick is seen by the fanfare it asks for.
                QTRY_COMPARE(endSoundRequests(), 1);
            } else {
                // Hidden on the first tick, shown again on the second.
                QTRY_VERIFY(winner->isHidden());
                QTRY_VERIFY(!winner->isHidden());
                QCOMPARE(endSoundRequests(), sound ? 1 : 0);
                QTRY_VERIFY(winner->isHidden());
            }
            QCOMPARE(endSoundRequests(), sound ? 1 : 0);
            QVERIFY(!loser->isHidden());
            if (first == second) {
                QVERIFY(!label(w, QStringLiteral("lblSkóre1"))->isHidden());
                QVERIFY(!label(w, QStringLiteral("lblSkóre2"))->isHidden());
            }
            QTest::mouseClick(w->findChild<ActionLabel*>(QStringLiteral("lblOK")), Qt::LeftButton);
        },
        {}, QStringLiteral("frmKonec2"));
    answerNewGame();
    findPairs(1);
    QCOMPARE(m_game.board->gameState().pairsFound, 0);
}

// "Vymazat" while the new row blinks: every row shows the empty entry, the blinking stops,
// and "OK" stores the empty tables.
void EndGameTest::clearWhileTheRowBlinks()
{
    start(2, false);
    findPairs(14);
    answerOK(QStringLiteral("frmkonec1"));
    onNextModal(
        [this](QWidget* w) {
            QLabel* name = label(w, QStringLiteral("lblJméno_10"));
            QTRY_VERIFY(name->isHidden());
            auto* clear = w->findChild<ActionLabel*>(QStringLiteral("lblVymazat"));
            hoverOver(clear);
            QTest::mouseClick(clear, Qt::LeftButton);
            QVERIFY(clear->isHighlighted());
            QVERIFY(!name->isHidden());
            QVERIFY(!name->font().bold());
            QCOMPARE(name->text(), QStringLiteral("..."));
            QCOMPARE(label(w, QStringLiteral("lblČas_10"))->text(), QStringLiteral("0:00:00"));
            QVERIFY(!w->findChild<QTimer*>(QStringLiteral("Timer1"))->isActive());
            QTest::mouseClick(w->findChild<ActionLabel*>(QStringLiteral("lblOK")), Qt::LeftButton);
        },
        {}, QStringLiteral("frmSíň"));
    answerNewGame();
    findPairs(1);
    QCOMPARE(m_game.store.values.value(QStringLiteral("Malý/0Jméno")), QStringLiteral("..."));
    QCOMPARE(m_game.store.values.value(QStringLiteral("Velký/4Otočené")), QStringLiteral("999"));
}

// Opened from the menu right after a record, the hall of fame marks nothing and plays
// nothing; its "OK" writes the unchanged tables again.
void EndGameTest::fromTheMenuNothingIsMarked()
{
    start(2, false);
    findPairs(14);
    answerOK(QStringLiteral("frmkonec1"));
    answerOK(QStringLiteral("frmSíň"));
    answerNewGame();
    findPairs(1);
    m_game.sound.requests.clear();
    // The tables are read as stored now; a long name keeps to its column, moves stay
    // right-aligned under their heading and times centred under theirs.
    m_game.store.write(QStringLiteral("Velký"), QStringLiteral("0Jméno"), QStringLiteral("WWWWWW"));
    const int writes = int(m_game.store.writes.size());
    onNextModal(
        [this](QWidget* w) {
            QCOMPARE(label(w, QStringLiteral("lblJméno_0"))->text(), QStringLiteral("WWWWWW"));
            for (const QString& n : {QStringLiteral("_0"), QStringLiteral("_10")}) {
                QVERIFY(label(w, u"lblJméno" + n)->geometry().right() <
                        label(w, u"lblDatum" + n)->x());
                QCOMPARE(label(w, u"lblOtočené" + n)->geometry().right(), 340); // 5115 twips
                QVERIFY(qAbs(label(w, u"lblČas" + n)->geometry().center().x() - 422) <= 1);
            }
            QVERIFY(!label(w, QStringLiteral("lblJméno_10"))->font().bold());
            QVERIFY(!w->findChild<QTimer*>(QStringLiteral("Timer1"))->isActive());
            // Without its timer nothing blinks and no fanfare can be asked for.
            QVERIFY(!label(w, QStringLiteral("lblJméno_10"))->isHidden());
            QCOMPARE(endSoundRequests(), 0);
            QTest::mouseClick(w->findChild<ActionLabel*>(QStringLiteral("lblOK")), Qt::LeftButton);
        },
        {}, QStringLiteral("frmSíň"));
    QTest::mouseClick(m_game.board->findChild<ActionLabel*>(QStringLiteral("lblNabídka_2")),
                      Qt::LeftButton);
    QCOMPARE(int(m_game.store.writes.size()) - writes, 60);
}

LOTARO_TEST_MAIN(EndGameTest, QApplication)
#include "tst_endgame.moc"
