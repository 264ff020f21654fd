#include "TestMain.h"
#include "Windows.h"

#include "ui/ActionLabel.h"
#include "ui/CardPicture.h"

#include <QLabel>
#include <QTimer>

// Games played on the board window with real clicks, to their end: result windows, the hall
// of fame and the way on to the next game.
class GameTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void onePlayerMoves();
    void twoPlayersTakeTurns();
    void soundSwitchSilencesEveryRequest();
    void lastClickDealsTheNextGame_data();
    void lastClickDealsTheNextGame();
    void onePlayerNewRecord();
    void onePlayerWithoutRecord();
    void twoPlayersResult_data();
    void twoPlayersResult();
    void clearWhileTheRowBlinks();
    void fromTheMenuNothingIsMarked();

private:
    void start(int boardSize, bool two, const QString& flip = QStringLiteral("3"));
    CardPicture* card(int k) const { return find<CardPicture>("imgLotaro_", k); }
    QLabel* label(const char* name, QWidget* w = nullptr) const
    {
        return (w ? w : m_game.board.get())->findChild<QLabel*>(QString::fromUtf8(name));
    }
    QTimer* timer(const char* name) const { return find<QTimer>(name); }
    template <class T> T* find(const char* name, int k = -1) const
    {
        const QString n = QString::fromUtf8(name) + (k < 0 ? QString() : QString::number(k));
        return m_game.board->findChild<T*>(n);
    }
    bool showsFace(int k) const { return shows(k, find<CardPicture>("imgLíc_", k)); }
    bool showsBack(int k) const { return shows(k, find<CardPicture>("imgRub")); }
    bool shows(int k, const CardPicture* p) const
    {
        return card(k)->isVisible() && card(k)->picture().cacheKey() == p->picture().cacheKey();
    }
    void click(int k) { QTest::mouseClick(card(k), Qt::LeftButton); }
    // The two cards of a pair not found yet and a card of another pair (-1 when none is left).
    QList<int> unfound() const;
    // Finds pairs for the player on move; the last pair is left for the test to click.
    void findPairs(int count);
    void miss();
    int requests(GameSound s) const
    {
        return int(m_game.sound.requests.count(m_game.assets->soundPath(s)));
    }
    static void ok(QWidget* w)
    {
        QTest::mouseClick(w->findChild<ActionLabel*>(QStringLiteral("lblOK")), Qt::LeftButton);
    }

    GameHarness m_game;
    QSet<QString> m_found;
};

void GameTest::init()
{
    m_game.reset(5);
    m_found.clear();
}

void GameTest::cleanup()
{
    m_game.finish();
    for (QWidget* w : QApplication::topLevelWidgets())
        QVERIFY(!w->isVisible());
}

void GameTest::start(int boardSize, bool two, const QString& flip)
{
    const auto put = [this](const QString& key, const QString& value) {
        m_game.store.write(SettingsKeys::section, key, value);
    };
    put(SettingsKeys::boardSize, QString::number(boardSize));
    put(SettingsKeys::players, two ? QStringLiteral("1") : QStringLiteral("0"));
    put(SettingsKeys::flip, flip);
    m_game.start();
    QVERIFY(QTest::qWaitForWindowExposed(m_game.board.get()));
}

QList<int> GameTest::unfound() const
{
    const QStringList values = m_game.board->gameState().cardValue;
    QList<int> cards;
    for (int k = 0; k < values.size(); ++k) {
        if (m_found.contains(values[k]) || !card(k)->isVisible())
            continue;
        if (cards.isEmpty())
            cards = {k, int(values.indexOf(values[k], k + 1))};
        else if (values[k] != values[cards[0]])
            return cards << k;
    }
    return cards << -1;
}

void GameTest::findPairs(int count)
{
    for (int i = 0; i < count; ++i) {
        const QList<int> cards = unfound();
        click(cards[0]);
        click(cards[1]);
        m_found.insert(m_game.board->gameState().cardValue[cards[0]]);
    }
}

void GameTest::miss()
{
    const QList<int> cards = unfound();
    click(cards[0]);
    click(cards[2]);
}

// One player, 1 second: the clock starts with the first click and counts on; a miss stays open
// for the delay, keeps every click out meanwhile, then turns face down; a pair shows its faces,
// unclickable, then leaves. Each turned card and each miss sounds "1.wav", a pair "2.wav".
void GameTest::onePlayerMoves()
{
    start(2, false, QStringLiteral("0"));
    QList<int> cards = unfound();
    QVERIFY(!timer("Timer1")->isActive());
    click(cards[0]);
    QVERIFY(timer("Timer1")->isActive());
    QVERIFY(showsFace(cards[0]));
    QCOMPARE(label("lblSkóre1")->text(), QStringLiteral("Otočené:   0"));
    click(cards[2]);
    QCOMPARE(label("lblSkóre1")->text(), QStringLiteral("Otočené:   1"));
    QCOMPARE(timer("Timer2")->interval(), 1000);
    QVERIFY(timer("Timer2")->isActive());
    click(cards[1]);
    QVERIFY(showsBack(cards[1]));
    QTRY_VERIFY(showsBack(cards[0]) && showsBack(cards[2]));
    QCOMPARE(requests(GameSound::Turn), 2);
    QCOMPARE(m_game.sound.withOptions, 0);

    click(cards[0]);
    click(cards[1]);
    QCOMPARE(requests(GameSound::Pair), 1);
    QVERIFY(showsFace(cards[1]) && !card(cards[0])->isEnabled() && !card(cards[1])->isEnabled());
    QTRY_VERIFY(!card(cards[0])->isVisible() && !card(cards[1])->isVisible());
    QCOMPARE(label("lblSkóre1")->text(), QStringLiteral("Otočené:   2"));
    m_game.clock.advance(65);
    QTRY_COMPARE(label("lblČas")->text(), QStringLiteral("Čas: 0:01:05"));
}

// Two players, whole move: a pair scores for the player on move, who moves again, and leaves
// with the next click; a miss passes the turn and the colours follow it. No clock runs.
void GameTest::twoPlayersTakeTurns()
{
    start(2, true);
    const auto colour = [this](const char* name) {
        return label(name)->palette().color(QPalette::Active, QPalette::WindowText);
    };
    const QColor grey(0x80, 0x80, 0x80); // the standard scheme's application workspace
    QCOMPARE(colour("lblHráč2"), grey);
    const QList<int> first = unfound();
    findPairs(1);
    QVERIFY(!timer("Timer1")->isActive() && !timer("Timer2")->isActive());
    QCOMPARE(label("lblSkóre1")->text(), QStringLiteral(" 1"));
    QCOMPARE(label("lblSkóre2")->text(), QStringLiteral("0"));
    QVERIFY(showsFace(first[0]));
    const QList<int> next = unfound();
    miss();
    QVERIFY(!card(first[0])->isVisible());
    QVERIFY(showsFace(next[0]) && showsFace(next[2]));
    QCOMPARE(colour("lblHráč1"), grey);
    QCOMPARE(colour("lblSkóre1"), grey);
    QCOMPARE(colour("lblHráč2"), QColor(Qt::black));
    QCOMPARE(colour("lblSkóre2"), QColor(Qt::black));
    findPairs(1);
    QVERIFY(showsBack(next[2]));
    QCOMPARE(label("lblSkóre2")->text(), QStringLiteral(" 1"));
    QCOMPARE(colour("lblHráč2"), QColor(Qt::black));
}

void GameTest::soundSwitchSilencesEveryRequest()
{
    m_game.store.write(SettingsKeys::section, SettingsKeys::sound, QStringLiteral("0"));
    start(2, false);
    miss();
    findPairs(1);
    QVERIFY(m_game.sound.requests.isEmpty());
    QTest::mouseClick(find<ActionLabel>("lblNabídka_1"), Qt::LeftButton);
    QCOMPARE(m_game.store.values.value(SettingsKeys::section + u'/' + SettingsKeys::sound),
             QStringLiteral("1"));
    click(unfound()[0]);
    QCOMPARE(m_game.sound.requests.size(), 1);
}

void GameTest::lastClickDealsTheNextGame_data()
{
    QTest::addColumn<QString>("flip");
    QTest::addColumn<bool>("two");
    QTest::newRow("1 sec, one player") << QStringLiteral("0") << false;
    QTest::newRow("2 sec, two players") << QStringLiteral("1") << true;
    QTest::newRow("3 sec, one player") << QStringLiteral("2") << false;
    QTest::newRow("whole move, two players") << QStringLiteral("3") << true;
}

// Finding the last pair ends the game inside that click and deals the next one, whose board
// takes clicks at once in every flip-back mode.
void GameTest::lastClickDealsTheNextGame()
{
    QFETCH(QString, flip);
    QFETCH(bool, two);
    start(2, two, flip);
    for (int pair = 1; pair <= 15; ++pair) {
        // The flip-back delay itself is checked above; here its tick is not waited for.
        if (timer("Timer2")->isActive())
            QVERIFY(QMetaObject::invokeMethod(timer("Timer2"), "timeout", Qt::DirectConnection));
        if (pair == 15) {
            answerOK(two ? QStringLiteral("frmKonec2") : QStringLiteral("frmkonec1"));
            if (!two)
                answerOK(QStringLiteral("frmSíň"));
            answerNewGame();
        }
        findPairs(1);
    }
    m_found.clear();
    QCOMPARE(m_game.board->gameState().pairsFound, 0);
    QVERIFY(!timer("Timer1")->isActive() && !timer("Timer2")->isActive());
    for (int k = 0; k < 30; ++k)
        QVERIFY(showsBack(k) && card(k)->isEnabled());
    click(4);
    QVERIFY(showsFace(4));
}

// A first game on a fresh store: the result window shows name, moves and time over a frozen
// board; the hall of fame opens with the new row bold and blinking and the fanfare once, and
// only its "OK" stores the table.
void GameTest::onePlayerNewRecord()
{
    start(2, false);
    findPairs(14);
    m_game.clock.advance(90);
    onNextModal(
        [this](QWidget* w) {
            QCOMPARE(label("lblHráč1", w)->text(), QStringLiteral("Hráč 1"));
            QCOMPARE(label("lblOtočené", w)->text(), QStringLiteral("15"));
            QCOMPARE(label("lblČas", w)->text(), QStringLiteral("0:01:30"));
            QCOMPARE(label("lblSkóre1")->text(), QStringLiteral("Otočené:   15"));
            QVERIFY(!label("lblHráč1")->isEnabled() &&
                    !find<ActionLabel>("lblNabídka_0")->isEnabled());
            QVERIFY(!timer("Timer1")->isActive());
            ok(w);
        },
        QStringLiteral("frmkonec1"));
    onNextModal(
        [this](QWidget* w) {
            QLabel* name = label("lblJméno_10", w);
            QVERIFY(name->font().bold() && !label("lblJméno_11", w)->font().bold());
            QCOMPARE(name->text(), QStringLiteral("Hráč 1"));
            QCOMPARE(label("lblČas_10", w)->text(), QStringLiteral("0:01:30"));
            QCOMPARE(label("lblDatum_10", w)->text(), QStringLiteral("6.12.2026"));
            QCOMPARE(label("lblDatum_0", w)->text(), QStringLiteral("1.1.2000"));
            QCOMPARE(label("lblOtočené_0", w)->text(), QStringLiteral("999"));
            QTRY_VERIFY(name->isHidden());
            QTRY_VERIFY(!name->isHidden());
            QTRY_COMPARE(requests(GameSound::End), 1);
            QTRY_VERIFY(name->isHidden());
            QCOMPARE(requests(GameSound::End), 1);
            QVERIFY(m_game.store.writes.filter(QStringLiteral("Malý/")).isEmpty());
            ok(w);
        },
        QStringLiteral("frmSíň"));
    answerNewGame();
    findPairs(1);
    const auto stored = [this](const char* key) {
        return m_game.store.values.value(QStringLiteral("Malý/") + QString::fromUtf8(key));
    };
    QCOMPARE((QStringList{stored("0Jméno"), stored("0Otočené"), stored("0Čas"), stored("0Datum")}),
             (QStringList{"Hráč 1", "15", "0:01:30", "6.12.2026"}));
    QCOMPARE(m_game.store.writes.filter(QStringLiteral("Malý/")).size(), 20);
    QCOMPARE(m_game.board->gameState().pairsFound, 0); // the next game is dealt
    QVERIFY(label("lblHráč1")->isEnabled() && find<ActionLabel>("lblNabídka_0")->isEnabled());
}

// A result that does not enter: the result window, then straight the new-game dialog.
void GameTest::onePlayerWithoutRecord()
{
    for (int p = 0; p < 5; ++p)
        m_game.store.write(QStringLiteral("Malý"), QString::number(p) + QStringLiteral("Otočené"),
                           QStringLiteral("15"));
    start(2, false);
    findPairs(13);
    miss();
    QString next;
    onNextModal(
        [&](QWidget* w) {
            QCOMPARE(label("lblOtočené", w)->text(), QStringLiteral("16"));
            onNextModal([&](QWidget* after) {
                next = after->objectName();
                ok(after);
            });
            ok(w);
        },
        QStringLiteral("frmkonec1"));
    findPairs(2);
    QCOMPARE(next, QStringLiteral("frmNováHra"));
    QVERIFY(m_game.store.writes.filter(QStringLiteral("Malý/0Jméno")).isEmpty());
}

void GameTest::twoPlayersResult_data()
{
    QTest::addColumn<int>("boardSize");
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("second");
    QTest::addColumn<bool>("sound");
    QTest::addColumn<QString>("score1");
    QTest::addColumn<QString>("score2");
    QTest::newRow("12 : 12") << 1 << 12 << 12 << true << " 12"
                             << " 12";
    QTest::newRow("10 : 14") << 1 << 10 << 14 << true << " 10"
                             << " 14";
    QTest::newRow("0 : 40") << 0 << 0 << 40 << true << "0"
                            << " 40";
    QTest::newRow("14 : 10, sound off") << 1 << 14 << 10 << false << " 14"
                                        << " 10";
}

// Both names and scores as on the board, the winner blinking (nobody on a draw), hidden on
// the first tick; the fanfare on the second tick while the sound is on.
void GameTest::twoPlayersResult()
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
            QTEST(label("lblSkóre1", w)->text(), "score1");
            QTEST(label("lblSkóre2", w)->text(), "score2");
            QCOMPARE(label("lblHráč2", w)->text(), QStringLiteral("Hráč 2"));
            const char* winner = first > second ? "lblSkóre1" : "lblSkóre2";
            const char* loser = first > second ? "lblHráč2" : "lblHráč1";
            if (first != second) {
                QTRY_VERIFY(label(winner, w)->isHidden());
                QTRY_VERIFY(!label(winner, w)->isHidden());
                QCOMPARE(requests(GameSound::End), sound ? 1 : 0);
                QTRY_VERIFY(label(winner, w)->isHidden());
            }
            QTRY_COMPARE(requests(GameSound::End), sound ? 1 : 0);
            QVERIFY(!label(loser, w)->isHidden());
            QVERIFY(first != second || !label(winner, w)->isHidden());
            answerNewGame();
            ok(w);
        },
        QStringLiteral("frmKonec2"));
    findPairs(1);
    QCOMPARE(m_game.board->gameState().pairsFound, 0);
}

// "Vymazat" while the new row blinks: every row shows the empty entry, the blinking stops,
// and "OK" stores the empty tables.
void GameTest::clearWhileTheRowBlinks()
{
    start(2, false);
    findPairs(14);
    answerOK(QStringLiteral("frmkonec1"));
    onNextModal(
        [this](QWidget* w) {
            QLabel* name = label("lblJméno_10", w);
            QTRY_VERIFY(name->isHidden());
            auto* clear = w->findChild<ActionLabel*>(QStringLiteral("lblVymazat"));
            hoverOver(clear);
            QTest::mouseClick(clear, Qt::LeftButton);
            QVERIFY(clear->isHighlighted());
            QVERIFY(!name->isHidden() && !name->font().bold());
            QCOMPARE(name->text(), QStringLiteral("..."));
            QCOMPARE(label("lblČas_10", w)->text(), QStringLiteral("0:00:00"));
            QVERIFY(!w->findChild<QTimer*>(QStringLiteral("Timer1"))->isActive());
            answerNewGame();
            ok(w);
        },
        QStringLiteral("frmSíň"));
    findPairs(1);
    QCOMPARE(m_game.store.values.value(QStringLiteral("Malý/0Jméno")), QStringLiteral("..."));
    QCOMPARE(m_game.store.values.value(QStringLiteral("Velký/4Otočené")), QStringLiteral("999"));
}

// Opened from the menu, the hall of fame shows the tables as stored now and marks and plays
// nothing; its "OK" writes them again. A long name keeps to its column, moves stay
// right-aligned under their heading and times centred under theirs.
void GameTest::fromTheMenuNothingIsMarked()
{
    start(2, false);
    m_game.store.write(QStringLiteral("Velký"), QStringLiteral("0Jméno"), QStringLiteral("WWWWWW"));
    const int writes = int(m_game.store.writes.size());
    onNextModal(
        [this](QWidget* w) {
            QCOMPARE(label("lblJméno_0", w)->text(), QStringLiteral("WWWWWW"));
            for (const QString& n : {QStringLiteral("_0"), QStringLiteral("_10")}) {
                const auto row = [&](const char* name) {
                    return w->findChild<QLabel*>(QString::fromUtf8(name) + n)->geometry();
                };
                QVERIFY(row("lblJméno").right() < row("lblDatum").x());
                QCOMPARE(row("lblOtočené").right(), 340); // 5115 twips
                QVERIFY(qAbs(row("lblČas").center().x() - 422) <= 1);
            }
            QVERIFY(!label("lblJméno_0", w)->font().bold());
            QVERIFY(!w->findChild<QTimer*>(QStringLiteral("Timer1"))->isActive());
            ok(w);
        },
        QStringLiteral("frmSíň"));
    QTest::mouseClick(find<ActionLabel>("lblNabídka_2"), Qt::LeftButton);
    QCOMPARE(requests(GameSound::End), 0);
    QCOMPARE(int(m_game.store.writes.size()) - writes, 60);
}

LOTARO_TEST_MAIN(GameTest, QApplication)
#include "tst_game.moc"
