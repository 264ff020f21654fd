#include "TestMain.h"
#include "Windows.h"

#include "core/Deal.h"
#include "ui/ActionLabel.h"
#include "ui/CardPicture.h"
#include "ui/Pictures.h"

#include <QDir>
#include <QLabel>
#include <QScreen>

// The board window at every screen size: layout, panel, own pictures, menu and the ways out.
class BoardTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        if (skipOffMainScreen({"layout", "menuHover"}))
            QSKIP("the same on every screen");
        m_game.reset(7, m_own.path());
    }
    void cleanup();
    void layout();
    void captionsAndColours_data();
    void captionsAndColours();
    void pairsShareTheirPicture();
    void ownSet_data();
    void ownSet();
    void soundSwitch_data();
    void soundSwitch();
    void escapeMinimises();
    void menuHover();
    void newGameAndQuit();

private:
    void choose(const QString& key, const QString& value)
    {
        m_game.store.write(SettingsKeys::section, key, value);
    }
    ActionLabel* menu(int k) const { return child<ActionLabel>("lblNabídka_", k); }
    QLabel* label(const char* name) const { return child<QLabel>(name); }
    template <class T> T* child(const char* name, int k = -1) const
    {
        return m_game.board->findChild<T*>(QString::fromUtf8(name) +
                                           (k < 0 ? QString() : QString::number(k)));
    }
    QList<CardPicture*> cards(const char* prefix = "imgLotaro_") const
    {
        QList<CardPicture*> result;
        while (auto* card = child<CardPicture>(prefix, int(result.size())))
            result.append(card);
        return result;
    }

    QTemporaryDir m_own;
    GameHarness m_game;
};

void BoardTest::cleanup()
{
    if (!m_game.board)
        return;
    m_game.finish();
    QVERIFY(!QFileInfo::exists(m_game.temp->filePath(QStringLiteral("Lotaro"))));
    for (QWidget* w : QApplication::topLevelWidgets())
        QVERIFY2(!w->isVisible(), qPrintable(w->objectName() + QStringLiteral(" left open")));
}

// The 10 x 8 board covers the screen: cards, panel and menu where their twips fall in pixels
// (worked out by hand for each screen), the panel's count and clock on two lines whatever their
// value, with their ink on the screen even where the panel is narrower than its labels.
void BoardTest::layout()
{
    m_game.start();
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    // card side, first card x and y, panel x, first menu label y; all in pixels
    const QHash<int, QList<int>> expected{{640, {51, 21, 26, 579, 245}},
                                          {800, {65, 19, 27, 722, 365}},
                                          {1024, {87, 12, 26, 920, 533}},
                                          {1280, {87, 140, 154, 1176, 789}},
                                          {600, {87, -200, -158, 496, 165}}};
    const QList<int> e = expected.value(screen.width());
    QCOMPARE(m_game.board->geometry(), screen);
    QVERIFY(m_game.board->isFullScreen() && m_game.board->windowFlags() & Qt::FramelessWindowHint);
    const QList<CardPicture*> board = cards();
    QCOMPARE(board.size(), 80);
    QCOMPARE(board[0]->geometry(), QRect(e[1], e[2], e[0], e[0]));
    // Row by row, and neighbouring cards never touch: the gap survives the rounding.
    QCOMPARE(board[10]->x(), board[0]->x());
    QVERIFY(board[1]->x() - board[0]->geometry().right() > 1);
    QVERIFY(board[10]->y() - board[0]->geometry().bottom() > 1);
    for (CardPicture* card : board)
        QVERIFY(card->isVisible() && card->isEnabled() && card->width() == e[0]);
    QCOMPARE(label("lblHráč1")->pos(), QPoint(e[3], 67)); // 1000 twips
    QCOMPARE(label("lblSkóre1")->geometry(), QRect(e[3], 117, 73, 41));
    QCOMPARE(label("lblČas")->geometry(), QRect(e[3], 167, 73, 49));
    for (const QString& text : {DealText::turnedCaption(0), DealText::turnedCaption(9),
                                DealText::turnedCaption(10), DealText::turnedCaption(99),
                                QStringLiteral("Čas: 0:00:00"), QStringLiteral("Čas: 1:23:45")}) {
        QLabel* panel = label(text.startsWith(u'Č') ? "lblČas" : "lblSkóre1");
        panel->setText(text);
        const QImage ink = panel->grab().toImage();
        int top = ink.height(), bottom = -1, right = -1;
        for (int y = 0; y < ink.height(); ++y)
            for (int x = 0; x < ink.width(); ++x)
                if (const QColor c = ink.pixelColor(x, y); c.alpha() > 128 && c.lightness() < 100)
                    top = qMin(top, y), bottom = y, right = qMax(right, x);
        QVERIFY2(bottom - top + 1 > panel->fontMetrics().height(), qPrintable(text));
        QVERIFY2(panel->x() + right < screen.width(), qPrintable(text));
    }
    for (int k = 0; k < 6; ++k) {
        QCOMPARE(menu(k)->pos(), QPoint(e[3], e[4] + 28 * k)); // 420 twips apart
        QCOMPARE(menu(k)->size(), QSize(menu(k)->sizeHint().width(), 18));
        QVERIFY(menu(k)->isVisible() && menu(k)->isEnabled());
    }
    QCOMPARE(m_game.board->cursor().shape(), Qt::ArrowCursor);
}

void BoardTest::captionsAndColours_data()
{
    QTest::addColumn<bool>("two");
    QTest::addColumn<QStringList>("names"); // stored, then shown
    QTest::addColumn<bool>("dark");         // the desktop's scheme
    QTest::newRow("one player") << false << QStringList{"Eva", "Ota", "Eva", "Ota"} << false;
    QTest::newRow("one player, no name")
        << false << QStringList{"", "", "Hráč 1", "Hráč 2"} << true;
    QTest::newRow("two players, no names")
        << true << QStringList{"", "", "Hráč 1", "Hráč 2"} << false;
    QTest::newRow("two players") << true << QStringList{"Šárka", "Jiří", "Šárka", "Jiří"} << true;
}

// A new game shows the names, a move counter and clock for one player or two scores for two,
// with player 1 in black and player 2 in the workspace grey, also under a dark desktop scheme.
void BoardTest::captionsAndColours()
{
    QFETCH(bool, two);
    QFETCH(QStringList, names);
    QFETCH(bool, dark);
    const QPalette light = QApplication::palette();
    if (dark)
        QApplication::setPalette(QPalette(QColor(0x35, 0x35, 0x35), QColor(0x24, 0x24, 0x24)));
    const auto restore = qScopeGuard([&] { QApplication::setPalette(light); });
    choose(SettingsKeys::players, two ? QStringLiteral("1") : QStringLiteral("0"));
    choose(SettingsKeys::name1, names[0]);
    choose(SettingsKeys::name2, names[1]);
    m_game.start();
    QCOMPARE(label("lblHráč1")->text(), names[2]);
    QCOMPARE(label("lblHráč2")->text(), names[3]);
    QVERIFY(label("lblHráč1")->isVisible());
    QCOMPARE(label("lblHráč2")->isVisible(), two);
    QCOMPARE(label("lblSkóre2")->isVisible(), two);
    QCOMPARE(label("lblČas")->isVisible(), !two);
    QCOMPARE(label("lblSkóre1")->text(),
             two ? QStringLiteral("0") : QStringLiteral("Otočené:   0"));
    if (two)
        QCOMPARE(label("lblSkóre2")->text(), QStringLiteral("0"));
    else
        QCOMPARE(label("lblČas")->text(), QStringLiteral("Čas: 0:00:00"));
    const auto colour = [this](const char* name) {
        return label(name)->palette().color(QPalette::Active, QPalette::WindowText);
    };
    for (const char* name : {"lblHráč1", "lblSkóre1", "lblČas", "lblNabídka_0"})
        QCOMPARE(colour(name), QColor(Qt::black));
    for (const char* name : {"lblHráč2", "lblSkóre2"})
        QCOMPARE(colour(name), QColor(0x80, 0x80, 0x80));
}

// Every card shows the back; behind it, the two cards of a pair hold one shared picture, the
// pair's face, and no other card holds it.
void BoardTest::pairsShareTheirPicture()
{
    choose(SettingsKeys::boardSize, QStringLiteral("1"));
    m_game.start();
    const QList<CardPicture*> board = cards(), faces = cards("imgLíc_");
    const QStringList values = m_game.board->gameState().cardValue;
    QCOMPARE(faces.size(), 48);
    const qint64 back = child<CardPicture>("imgRub")->picture().cacheKey();
    QHash<QString, qint64> pictureOf;
    for (int k = 0; k < 48; ++k) {
        QCOMPARE(board[k]->picture().cacheKey(), back);
        QVERIFY(!faces[k]->isVisible());
        const qint64 key = faces[k]->picture().cacheKey();
        if (pictureOf.contains(values[k])) {
            QCOMPARE(key, pictureOf.value(values[k]));
            continue;
        }
        QVERIFY(!pictureOf.values().contains(key) && key != back);
        pictureOf.insert(values[k], key);
        const LoadedPicture expected = loadPicture(
            m_game.assets->facePath(QStringLiteral("1"), values[k]), board[k]->size(), 1);
        QCOMPARE(faces[k]->picture().toImage(), expected.picture.toImage());
    }
}

void BoardTest::ownSet_data()
{
    QTest::addColumn<int>("boardSize");
    QTest::addColumn<int>("pictures");
    QTest::addColumn<QString>("damage");
    QTest::addColumn<bool>("dealt");
    QTest::newRow("16 pictures suffice for 6 x 5") << 2 << 16 << "" << true;
    QTest::newRow("16 pictures are too few for 8 x 6") << 1 << 16 << "" << false;
    QTest::newRow("no pictures at all") << 2 << 0 << "" << false;
    QTest::newRow("not a picture") << 2 << 15 << "text" << false;
    QTest::newRow("truncated") << 2 << 15 << "truncated" << false;
    QTest::newRow("too large to decode") << 2 << 15 << "huge" << false;
    QTest::newRow("a directory") << 2 << 15 << "directory" << false;
}

// The own set deals from its directory; a picture that is missing or cannot be decoded brings
// the notice, with the menu greyed and the pointer restored, and then a new game.
void BoardTest::ownSet()
{
    QFETCH(int, boardSize);
    QFETCH(int, pictures);
    QFETCH(QString, damage);
    QFETCH(bool, dealt);
    QDir own(m_own.path());
    own.removeRecursively(), own.mkpath(QStringLiteral("."));
    for (int n = 1; n <= pictures; ++n) {
        QImage face(90, 90, QImage::Format_RGB32);
        face.fill(QColor::fromHsv(n * 9, 220, 230));
        QVERIFY(face.save(own.filePath(QStringLiteral("%1.jpg").arg(n)), "JPG", 95));
    }
    QFile damaged(own.filePath(QStringLiteral("7.jpg")));
    if (!damage.isEmpty()) {
        QVERIFY(damaged.open(QIODevice::ReadOnly));
        QByteArray bytes = damaged.readAll();
        damaged.close();
        if (damage == u"huge") // a valid picture whose header claims 30000 x 30000 pixels
            bytes.replace(bytes.indexOf("\xFF\xC0") + 5, 4, "\x75\x30\x75\x30");
        if (damage == u"truncated")
            bytes.truncate(300);
        if (damage == u"text")
            bytes = "no picture";
        QVERIFY(damaged.remove());
        if (damage == u"directory")
            QVERIFY(own.mkdir(QStringLiteral("7.jpg")));
        else if (damaged.open(QIODevice::WriteOnly))
            damaged.write(bytes);
        damaged.close();
    }
    choose(SettingsKeys::boardSize, QString::number(boardSize));
    choose(SettingsKeys::face, QStringLiteral("5"));
    bool noticed = false;
    if (!dealt)
        onNextModal(
            [&](QWidget* notice) {
                noticed = true;
                QCOMPARE(m_game.board->cursor().shape(), Qt::ArrowCursor);
                QVERIFY(!menu(0)->isEnabled() && !menu(5)->isEnabled());
                QVERIFY(!label("lblHráč1")->isEnabled() && !label("lblČas")->isEnabled());
                // The next game takes a set that exists.
                answerNewGame([](QWidget* d) { chooseCaption(d, QStringLiteral("lblLíc_1")); });
                QTest::mouseClick(notice->findChild<ActionLabel*>(QStringLiteral("lblOK")),
                                  Qt::LeftButton);
            },
            QStringLiteral("frmNeexistuje"));
    answerNewGame();
    m_game.start(false);
    QCOMPARE(noticed, !dealt);
    QCOMPARE(m_game.board->settings().faceSet, dealt ? QStringLiteral("5") : QStringLiteral("1"));
    QCOMPARE(cards().size(), boardSize == 2 ? 30 : 48);
    for (CardPicture* card : cards())
        QVERIFY(card->isVisible());
    QVERIFY(menu(0)->isEnabled() && label("lblHráč1")->isEnabled());
    QCOMPARE(m_game.board->cursor().shape(), Qt::ArrowCursor);
    if (dealt) {
        const int value = m_game.board->gameState().cardValue[0].toInt();
        const QColor shown = cards("imgLíc_")[0]->picture().toImage().pixelColor(25, 25);
        QVERIFY(qAbs(shown.hue() - value * 9) <= 3);
    }
}

void BoardTest::soundSwitch_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("on");
    QTest::newRow("off") << "0" << false;
    QTest::newRow("on") << "1" << true;
    QTest::newRow("other") << "2" << true;
}

// The stored switch shows in "Zvuky" (struck through means off); a click turns it over and
// stores the other state.
void BoardTest::soundSwitch()
{
    QFETCH(QString, stored);
    QFETCH(bool, on);
    choose(SettingsKeys::sound, stored);
    m_game.start();
    QCOMPARE(menu(1)->font().strikeOut(), !on);
    QCOMPARE(m_game.board->soundOn(), on);
    QTest::mouseClick(menu(1), Qt::LeftButton);
    QCOMPARE(menu(1)->font().strikeOut(), on);
    QCOMPARE(m_game.store.values.value(SettingsKeys::section + u"/Zvuk"),
             on ? QStringLiteral("0") : QStringLiteral("1"));
    QVERIFY(menu(1)->isEnabled());
}

// Esc minimises; restoring shows the same game, card for card, full screen again.
void BoardTest::escapeMinimises()
{
    m_game.start();
    const QStringList values = m_game.board->gameState().cardValue;
    const QList<CardPicture*> before = cards();
    m_game.board->activateWindow();
    QTest::keyClick(m_game.board.get(), Qt::Key_A);
    QVERIFY(!m_game.board->isMinimized());
    QTest::keyClick(m_game.board.get(), Qt::Key_Escape);
    QTRY_VERIFY(m_game.board->isMinimized());
    m_game.board->setWindowState(m_game.board->windowState() & ~Qt::WindowMinimized);
    QTRY_VERIFY(!m_game.board->isMinimized());
    QVERIFY(m_game.board->isFullScreen());
    QCOMPARE(m_game.board->gameState().cardValue, values);
    QCOMPARE(cards(), before);
}

// Moving from one menu label onto the next leaves exactly one highlighted, bold in a box; the
// bare window clears them all, a card or a panel label does not.
void BoardTest::menuHover()
{
    // The smallest board leaves some bare window even on a screen below 640 x 480.
    choose(SettingsKeys::boardSize, QStringLiteral("2"));
    m_game.start();
    const auto highlighted = [this] {
        QList<int> on;
        for (int k = 0; k < 6; ++k)
            if (menu(k)->isHighlighted())
                on.append(k);
        return on;
    };
    hoverOver(menu(2));
    QVERIFY(menu(2)->font().bold() && menu(2)->frameShape() == QFrame::Box);
    hoverOver(menu(3));
    QCOMPARE(highlighted(), QList<int>{3});
    QVERIFY(!menu(2)->font().bold() && menu(2)->frameShape() == QFrame::NoFrame);
    hoverOver(cards().first());
    hoverOver(label("lblHráč1"));
    QCOMPARE(highlighted(), QList<int>{3});
    const QPoint bare(m_game.board->width() - 2, m_game.board->height() - 2);
    QVERIFY(!m_game.board->childAt(bare));
    hoverOver(m_game.board.get(), bare);
    QCOMPARE(highlighted(), QList<int>{});
}

// "Nová hra" removes the old board and deals a fresh one from the choice. "Konec" asks first:
// "Storno" or any other close leaves the game as it was; "OK" removes the tree and ends.
void BoardTest::newGameAndQuit()
{
    m_game.start();
    answerNewGame([](QWidget* d) { chooseCaption(d, QStringLiteral("lblPočetKaret_2")); });
    QTest::mouseClick(menu(0), Qt::LeftButton);
    QCOMPARE(cards().size(), 30);
    QTRY_COMPARE(m_game.board->findChildren<CardPicture*>().size(), 2 * 30 + 1);
    QVERIFY(!menu(0)->isHighlighted() && menu(0)->isEnabled());
    const QStringList values = m_game.board->gameState().cardValue;
    onNextModal(
        [](QWidget* confirm) {
            QCOMPARE(confirm->findChild<QLabel*>(QStringLiteral("Label1"))->text(),
                     QStringLiteral("Opravdu chcete skončit tuto hru ?"));
            QTest::mouseClick(confirm->findChild<ActionLabel*>(QStringLiteral("lblStorno")),
                              Qt::LeftButton);
        },
        QStringLiteral("frmSkoncit"));
    QTest::mouseClick(menu(5), Qt::LeftButton);
    onNextModal(
        [](QWidget* confirm) {
            QTest::keyClick(confirm, Qt::Key_Escape); // no key stands for an answer
            QVERIFY(confirm->isVisible());
            confirm->close();
        },
        QStringLiteral("frmSkoncit"));
    QVERIFY(!m_game.board->close());
    QVERIFY(m_game.board->isVisible() && menu(0)->isEnabled());
    QCOMPARE(m_game.board->gameState().cardValue, values);
    QVERIFY(QFileInfo::exists(m_game.assets->backPath(QStringLiteral("1"))));
    answerOK(QStringLiteral("frmSkoncit"));
    QTest::mouseClick(menu(5), Qt::LeftButton);
    QVERIFY(!m_game.board->isVisible());
    QVERIFY(!QFileInfo::exists(m_game.temp->filePath(QStringLiteral("Lotaro"))));
}

LOTARO_TEST_MAIN(BoardTest, QApplication)
#include "tst_board.moc"
