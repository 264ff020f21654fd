#include "FakeClock.h"
#include "Hover.h"
#include "MemoryStore.h"
#include "Modal.h"
#include "NewGame.h"
#include "RecordingSound.h"
#include "TestMain.h"

#include "core/AssetStore.h"
#include "core/Deal.h"
#include "core/GameSettings.h"
#include "core/RandomSource.h"
#include "core/Twips.h"
#include "ui/ActionLabel.h"
#include "ui/CardPicture.h"
#include "ui/Pictures.h"
#include "ui/Screen.h"
#include "windows/frmLotaro.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QScreen>

#include <memory>

namespace {
QColor faceColour(int set, int value)
{
    return QColor::fromHsv((value * 9) % 360, 200 + set * 10, 230);
}

void writePicture(const QString& path, const QColor& colour, int size)
{
    QImage image(size, size, QImage::Format_RGB32);
    image.fill(colour);
    QVERIFY(image.save(path, "JPG", 95));
}

QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}
} // namespace

class BoardTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void layout_data();
    void layout();
    void captionsAndColours_data();
    void captionsAndColours();
    void pairsShareTheirPicture();
    void ownSet_data();
    void ownSet();
    void soundSwitchAtStart_data();
    void soundSwitchAtStart();
    void soundSwitchToggles();
    void escapeMinimises();
    void menuHover();
    void newGameReplacesBoard();
    void quitEndsTheRun();

private:
    void start();
    ActionLabel* menu(int k) const;
    QLabel* label(const char* name) const;
    QList<CardPicture*> cards(const QString& prefix = QStringLiteral("imgLotaro_")) const;
    void choose(const QString& key, const QString& value);

    std::unique_ptr<QTemporaryDir> m_temp;
    QTemporaryDir m_own;
    std::unique_ptr<AssetStore> m_assets;
    std::unique_ptr<MemoryStore> m_store;
    RecordingSound m_sound;
    std::unique_ptr<MersenneRandom> m_random;
    FakeClock m_clock;
    std::unique_ptr<frmLotaro> m_board;
    bool m_answerDialog = true;
};

void BoardTest::init()
{
    m_store = std::make_unique<MemoryStore>();
    m_sound = RecordingSound();
    m_answerDialog = true;
    m_random = std::make_unique<MersenneRandom>(7);
    m_temp = std::make_unique<QTemporaryDir>();
    m_assets = std::make_unique<AssetStore>(m_temp->path(), m_own.path());
}

void BoardTest::cleanup()
{
    m_board.reset();
    m_assets->RemoveAssetTree();
    QVERIFY(!QFileInfo::exists(m_temp->filePath(QStringLiteral("Lotaro"))));
    for (QWidget* w : QApplication::topLevelWidgets())
        QVERIFY2(!w->isVisible(), qPrintable(w->objectName() + QStringLiteral(" left open")));
}

void BoardTest::start()
{
    m_board =
        std::make_unique<frmLotaro>(Services{*m_store, *m_random, m_clock, *m_assets, m_sound});
    if (m_answerDialog)
        answerNewGame();
    m_board->load();
    QVERIFY(QTest::qWaitForWindowExposed(m_board.get()));
}

ActionLabel* BoardTest::menu(int k) const
{
    return m_board->findChild<ActionLabel*>(QStringLiteral("lblNabídka_") + QString::number(k));
}

QLabel* BoardTest::label(const char* name) const
{
    return m_board->findChild<QLabel*>(QString::fromUtf8(name));
}

QList<CardPicture*> BoardTest::cards(const QString& prefix) const
{
    QList<CardPicture*> result;
    for (int k = 0;; ++k) {
        auto* card = m_board->findChild<CardPicture*>(prefix + QString::number(k));
        if (!card)
            return result;
        result.append(card);
    }
}

void BoardTest::choose(const QString& key, const QString& value)
{
    m_store->write(SettingsKeys::section, key, value);
}

void BoardTest::layout_data()
{
    QTest::addColumn<int>("boardSize");
    QTest::addColumn<int>("columns");
    QTest::addColumn<int>("rows");
    QTest::newRow("10 x 8") << 0 << 10 << 8;
    QTest::newRow("8 x 6") << 1 << 8 << 6;
    QTest::newRow("6 x 5") << 2 << 6 << 5;
}

// The window covers the screen and puts every card, panel label and menu label where the
// layout in twips says, converted to pixels.
void BoardTest::layout()
{
    QFETCH(int, boardSize);
    QFETCH(int, columns);
    QFETCH(int, rows);
    choose(SettingsKeys::boardSize, QString::number(boardSize));
    start();

    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    QCOMPARE(m_board->geometry(), screen);
    QVERIFY(m_board->windowFlags() & Qt::FramelessWindowHint);

    const int cardSize = m_board->settings().cardSize;
    const QString resolution = QStringLiteral("%1x%2").arg(screen.width()).arg(screen.height());
    QCOMPARE(cardSize, resolution == u"640x480" ? 760 : resolution == u"800x600" ? 980 : 1300);
    const BoardLayout l =
        computeBoardLayout(screen.width() * 15.0, screen.height() * 15.0, columns, rows, cardSize);
    const auto px = [](const TwipsPoint& p) {
        return QPoint(Twips::toPixels(p.x), Twips::toPixels(p.y));
    };
    const QList<CardPicture*> board = cards();
    QCOMPARE(board.size(), columns * rows);
    const int c = Twips::toPixels(cardSize);
    for (int k = 0; k < board.size(); ++k) {
        QCOMPARE(board[k]->geometry(), QRect(px(l.cards[k]), QSize(c, c)));
        QVERIFY(board[k]->isVisible());
        QVERIFY(board[k]->isEnabled());
    }
    if (resolution == u"640x480" && columns == 10)
        QCOMPARE(board[0]->pos(), QPoint(21, 26)); // 319 and 385 twips
    // Neighbouring cards never touch: the gap survives the rounding to pixels.
    QVERIFY(board[1]->x() - board[0]->geometry().right() > 1);
    QVERIFY(board[columns]->y() - board[0]->geometry().bottom() > 1);

    QCOMPARE(label("lblHráč1")->pos(), px(l.player1));
    QCOMPARE(label("lblSkóre1")->geometry(), QRect(px(l.score1), QSize(73, 41)));
    QCOMPARE(label("lblČas")->geometry(), QRect(px(l.clock), QSize(73, 49)));
    // Caption and value stand on two lines whatever the count or the time, and the ink stays on
    // the screen, also where the panel is narrower than its labels.
    for (const QString& text : {DealText::turnedCaption(0), DealText::turnedCaption(9),
                                DealText::turnedCaption(10), DealText::turnedCaption(99),
                                QStringLiteral("Čas: 0:00:00"), QStringLiteral("Čas: 1:23:45")}) {
        QLabel* panel = label(text.startsWith(u'Č') ? "lblČas" : "lblSkóre1");
        panel->setText(text);
        const QImage ink = panel->grab().toImage();
        int top = ink.height(), bottom = -1, right = -1;
        for (int y = 0; y < ink.height(); ++y)
            for (int x = 0; x < ink.width(); ++x)
                if (const QColor c = ink.pixelColor(x, y); c.alpha() > 128 && c.lightness() < 100) {
                    top = qMin(top, y);
                    bottom = y;
                    right = qMax(right, x);
                }
        QVERIFY2(bottom - top + 1 > panel->fontMetrics().height(), qPrintable(text));
        QVERIFY2(panel->x() + right < screen.width(), qPrintable(text));
    }
    for (int k = 0; k < 6; ++k) {
        QCOMPARE(menu(k)->pos(), px(l.menu[k]));
        QCOMPARE(menu(k)->height(), 18);
        // Measured only once shown: as wide as its caption.
        QCOMPARE(menu(k)->width(), menu(k)->sizeHint().width());
        QVERIFY(menu(k)->isVisible());
        QVERIFY(menu(k)->isEnabled());
    }
    if (l.cards[0].x >= 0)
        QVERIFY(board.last()->geometry().right() < menu(0)->x());
    QCOMPARE(m_board->cursor().shape(), Qt::ArrowCursor);
}

void BoardTest::captionsAndColours_data()
{
    QTest::addColumn<bool>("two");
    QTest::addColumn<QString>("name1");
    QTest::addColumn<QString>("name2");
    QTest::addColumn<QString>("player1");
    QTest::addColumn<QString>("player2");
    QTest::addColumn<bool>("dark"); // the desktop's scheme
    QTest::newRow("one player") << false << QStringLiteral("Eva") << QStringLiteral("Ota")
                                << QStringLiteral("Eva") << QStringLiteral("Ota") << false;
    QTest::newRow("one player, no name")
        << false << QString() << QString() << QStringLiteral("Hráč 1") << QStringLiteral("Hráč 2")
        << true;
    QTest::newRow("two players, no names")
        << true << QString() << QString() << QStringLiteral("Hráč 1") << QStringLiteral("Hráč 2")
        << false;
    QTest::newRow("two players") << true << QStringLiteral("Šárka") << QStringLiteral("Jiří")
                                 << QStringLiteral("Šárka") << QStringLiteral("Jiří") << true;
}

// A new game shows the names, a move counter and clock for one player or two scores for two,
// with player 1 in black and player 2 in grey, also on a desktop with a dark scheme.
void BoardTest::captionsAndColours()
{
    QFETCH(bool, two);
    QFETCH(QString, name1);
    QFETCH(QString, name2);
    QFETCH(bool, dark);
    const QPalette light = QApplication::palette();
    if (dark)
        QApplication::setPalette(QPalette(QColor(0x35, 0x35, 0x35), QColor(0x24, 0x24, 0x24)));
    const auto restore = qScopeGuard([&] { QApplication::setPalette(light); });
    choose(SettingsKeys::players, two ? QStringLiteral("1") : QStringLiteral("0"));
    choose(SettingsKeys::name1, name1);
    choose(SettingsKeys::name2, name2);
    start();

    QTEST(label("lblHráč1")->text(), "player1");
    QTEST(label("lblHráč2")->text(), "player2");
    QCOMPARE(label("lblHráč2")->isVisible(), two);
    QCOMPARE(label("lblSkóre2")->isVisible(), two);
    QCOMPARE(label("lblČas")->isVisible(), !two);
    QVERIFY(label("lblHráč1")->isVisible());
    if (two) {
        QCOMPARE(label("lblSkóre1")->text(), QStringLiteral("0"));
        QCOMPARE(label("lblSkóre2")->text(), QStringLiteral("0"));
    } else {
        QCOMPARE(label("lblSkóre1")->text(), QStringLiteral("Otočené:   0"));
        QCOMPARE(label("lblČas")->text(), QStringLiteral("Čas: 0:00:00"));
    }
    const auto colour = [this](const char* name) {
        return label(name)->palette().color(QPalette::Active, QPalette::WindowText);
    };
    QCOMPARE(colour("lblHráč1"), QColor(Qt::black));
    QCOMPARE(colour("lblSkóre1"), QColor(Qt::black));
    QCOMPARE(colour("lblHráč2"), QColor(0x80, 0x80, 0x80));
    QCOMPARE(colour("lblSkóre2"), QColor(0x80, 0x80, 0x80));
    QCOMPARE(colour("lblČas"), QColor(Qt::black));
    QCOMPARE(colour("lblNabídka_0"), QColor(Qt::black));
    QCOMPARE(m_board->gameState().player1OnMove, true);
    QCOMPARE(m_board->gameState().clockIdle, true);
}

// Every card shows the back; behind it, the two cards of a pair hold one shared picture of
// the pair's number and no other card holds it.
void BoardTest::pairsShareTheirPicture()
{
    choose(SettingsKeys::boardSize, QStringLiteral("1"));
    start();
    const QList<CardPicture*> board = cards();
    const QList<CardPicture*> faces = cards(QStringLiteral("imgLíc_"));
    const QStringList values = m_board->gameState().cardValue;
    QCOMPARE(faces.size(), 48);
    QCOMPARE(values.size(), 48);
    const qint64 back =
        m_board->findChild<CardPicture*>(QStringLiteral("imgRub"))->picture().cacheKey();
    QHash<QString, qint64> pictureOf;
    QSet<qint64> pictures;
    for (int k = 0; k < 48; ++k) {
        QCOMPARE(board[k]->picture().cacheKey(), back);
        QVERIFY(!faces[k]->isVisible());
        const qint64 key = faces[k]->picture().cacheKey();
        if (pictureOf.contains(values[k])) {
            QCOMPARE(key, pictureOf.value(values[k]));
        } else {
            pictureOf.insert(values[k], key);
            pictures.insert(key);
            const LoadedPicture expected = loadPicture(
                m_assets->facePath(QStringLiteral("1"), values[k]), board[k]->size(), 1);
            QCOMPARE(expected.status, PictureLoad::Loaded);
            QCOMPARE(faces[k]->picture().toImage(), expected.picture.toImage());
        }
    }
    QCOMPARE(pictures.size(), 24);
    QVERIFY(!pictures.contains(back));
}

void BoardTest::ownSet_data()
{
    QTest::addColumn<int>("boardSize");
    QTest::addColumn<int>("pictures");
    QTest::addColumn<QString>("damage");
    QTest::addColumn<bool>("dealt");
    QTest::newRow("16 pictures suffice for 6 x 5") << 2 << 16 << QString() << true;
    QTest::newRow("16 pictures are too few for 8 x 6") << 1 << 16 << QString() << false;
    QTest::newRow("no pictures at all") << 2 << 0 << QString() << false;
    QTest::newRow("not a picture") << 2 << 15 << QStringLiteral("text") << false;
    QTest::newRow("truncated") << 2 << 15 << QStringLiteral("truncated") << false;
    QTest::newRow("too large to decode") << 2 << 15 << QStringLiteral("huge") << false;
    QTest::newRow("a directory") << 2 << 15 << QStringLiteral("directory") << false;
}

// The own set deals from its directory; a picture that is missing or cannot be decoded brings
// the notice, with the menu greyed and the pointer restored, and then a new game.
void BoardTest::ownSet()
{
    QFETCH(int, boardSize);
    QFETCH(int, pictures);
    QFETCH(QString, damage);
    QFETCH(bool, dealt);
    QTemporaryDir own;
    m_assets = std::make_unique<AssetStore>(m_temp->path(), own.path());
    for (int n = 1; n <= pictures; ++n)
        writePicture(own.filePath(QStringLiteral("%1.jpg").arg(n)), faceColour(5, n), 90);
    const QString damaged = own.filePath(QStringLiteral("7.jpg"));
    if (damage == u"text") {
        writeBytes(damaged, "this is no picture");
    } else if (damage == u"truncated") {
        writePicture(damaged, Qt::red, 90);
        writeBytes(damaged, fileBytes(damaged).left(300));
    } else if (damage == u"huge") {
        // A valid picture whose header claims 30000 x 30000 pixels.
        writePicture(damaged, Qt::red, 90);
        QByteArray bytes = fileBytes(damaged);
        const qsizetype sof = bytes.indexOf("\xFF\xC0");
        QVERIFY(sof > 0);
        bytes[sof + 5] = char(0x75), bytes[sof + 6] = char(0x30);
        bytes[sof + 7] = char(0x75), bytes[sof + 8] = char(0x30);
        writeBytes(damaged, bytes);
    } else if (damage == u"directory") {
        QFile::remove(damaged);
        QVERIFY(QDir(own.path()).mkdir(QStringLiteral("7.jpg")));
    }
    choose(SettingsKeys::boardSize, QString::number(boardSize));
    choose(SettingsKeys::face, QStringLiteral("5"));

    bool noticed = false;
    if (!dealt) {
        onNextModal(
            [&](QWidget* notice) {
                noticed = true;
                QCOMPARE(notice->objectName(), QStringLiteral("frmNeexistuje"));
                QCOMPARE(notice->findChild<QLabel*>(QStringLiteral("Label1"))->text(),
                         QStringLiteral("Požadovaná sada obrázků neexistuje."));
                QCOMPARE(m_board->cursor().shape(), Qt::ArrowCursor);
                for (int k = 0; k < 6; ++k)
                    QVERIFY(!menu(k)->isEnabled());
                QVERIFY(!label("lblHráč1")->isEnabled());
                QVERIFY(!label("lblČas")->isEnabled());
                // The next game takes a set that exists.
                answerNewGame(
                    [](QWidget* dialog) { chooseCaption(dialog, QStringLiteral("lblLíc_1")); });
                auto* ok = notice->findChild<ActionLabel*>(QStringLiteral("lblOK"));
                QTest::mouseClick(ok, Qt::LeftButton);
                QVERIFY(!notice->isVisible());
            },
            {}, QStringLiteral("frmNeexistuje"));
    }
    m_answerDialog = false;
    answerNewGame();
    start();
    QCOMPARE(noticed, !dealt);
    QCOMPARE(m_board->settings().faceSet, dealt ? QStringLiteral("5") : QStringLiteral("1"));
    const QList<CardPicture*> board = cards();
    QCOMPARE(board.size(), m_board->settings().columns * m_board->settings().rows);
    for (CardPicture* card : board)
        QVERIFY(card->isVisible());
    for (int k = 0; k < 6; ++k)
        QVERIFY(menu(k)->isEnabled());
    QVERIFY(label("lblHráč1")->isEnabled());
    QCOMPARE(m_board->cursor().shape(), Qt::ArrowCursor);
    if (dealt) {
        const QString value = m_board->gameState().cardValue[0];
        const QColor shown =
            cards(QStringLiteral("imgLíc_"))[0]->picture().toImage().pixelColor(40, 40);
        QVERIFY(qAbs(shown.hue() - faceColour(5, value.toInt()).hue()) <= 3);
    }
}

void BoardTest::soundSwitchAtStart_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("struck");
    QTest::newRow("off") << QStringLiteral("0") << true;
    QTest::newRow("on") << QStringLiteral("1") << false;
    QTest::newRow("other") << QStringLiteral("2") << false;
}

void BoardTest::soundSwitchAtStart()
{
    QFETCH(QString, stored);
    choose(SettingsKeys::sound, stored);
    start();
    QTEST(menu(1)->font().strikeOut(), "struck");
    QCOMPARE(m_board->soundOn(), !menu(1)->font().strikeOut());
}

// "Zvuky" strikes itself through and stores "0", then clears and stores "1".
void BoardTest::soundSwitchToggles()
{
    start();
    QVERIFY(m_board->soundOn());
    QTest::mouseClick(menu(1), Qt::LeftButton);
    QVERIFY(menu(1)->font().strikeOut());
    QVERIFY(!m_board->soundOn());
    QCOMPARE(m_store->values.value(SettingsKeys::section + u"/Zvuk"), QStringLiteral("0"));
    QVERIFY(menu(1)->isEnabled());
    QTest::mouseClick(menu(1), Qt::LeftButton);
    QVERIFY(!menu(1)->font().strikeOut());
    QCOMPARE(m_store->values.value(SettingsKeys::section + u"/Zvuk"), QStringLiteral("1"));
}

// Esc minimises; restoring shows the same game, card for card.
void BoardTest::escapeMinimises()
{
    start();
    const QStringList values = m_board->gameState().cardValue;
    const QList<CardPicture*> before = cards();
    m_board->activateWindow();
    QTest::keyClick(m_board.get(), Qt::Key_A);
    QVERIFY(!m_board->isMinimized());
    QTest::keyClick(m_board.get(), Qt::Key_Escape);
    QTRY_VERIFY(m_board->isMinimized());
    m_board->setWindowState(m_board->windowState() & ~Qt::WindowMinimized); // the desktop's
    QTRY_VERIFY(!m_board->isMinimized());
    QVERIFY(m_board->isFullScreen());
    QCOMPARE(m_board->gameState().cardValue, values);
    QCOMPARE(cards(), before);
    for (CardPicture* card : before)
        QVERIFY(card->isVisible());
}

// Moving from one menu label onto the next leaves exactly one highlighted; the bare window
// clears them all, a card does not.
void BoardTest::menuHover()
{
    // The smallest board leaves some bare window even on a screen below 640 x 480.
    choose(SettingsKeys::boardSize, QStringLiteral("2"));
    start();
    const auto highlighted = [this] {
        QList<int> on;
        for (int k = 0; k < 6; ++k)
            if (menu(k)->isHighlighted())
                on.append(k);
        return on;
    };
    hoverOver(menu(2));
    QCOMPARE(highlighted(), QList<int>{2});
    QVERIFY(menu(2)->font().bold());
    QCOMPARE(menu(2)->frameShape(), QFrame::Box);
    hoverOver(menu(3));
    QCOMPARE(highlighted(), QList<int>{3});
    QVERIFY(!menu(2)->font().bold());
    QCOMPARE(menu(2)->frameShape(), QFrame::NoFrame);
    hoverOver(cards().first());
    hoverOver(m_board->findChild<QLabel*>(QStringLiteral("lblHráč1")));
    QCOMPARE(highlighted(), QList<int>{3});
    QPoint bare(m_board->width() - 2, m_board->height() - 2);
    QVERIFY(!m_board->childAt(bare));
    hoverOver(m_board.get(), bare);
    QCOMPARE(highlighted(), QList<int>{});
}

// "Nová hra" removes the old board and deals a fresh one from the choice.
void BoardTest::newGameReplacesBoard()
{
    start();
    QCOMPARE(cards().size(), 80);
    answerNewGame(
        [](QWidget* dialog) { chooseCaption(dialog, QStringLiteral("lblPočetKaret_2")); });
    QTest::mouseClick(menu(0), Qt::LeftButton);
    QCOMPARE(cards().size(), 30);
    QTRY_COMPARE(m_board->findChildren<CardPicture*>().size(), 2 * 30 + 1);
    QVERIFY(!menu(0)->isHighlighted());
    for (int k = 0; k < 6; ++k)
        QVERIFY(menu(k)->isEnabled());
}

// "Konec" asks first: "Storno" leaves the game as it was, "OK" removes the tree and ends.
void BoardTest::quitEndsTheRun()
{
    start();
    const QStringList values = m_board->gameState().cardValue;
    onNextModal(
        [](QWidget* confirm) {
            QCOMPARE(confirm->findChild<QLabel*>(QStringLiteral("Label1"))->text(),
                     QStringLiteral("Opravdu chcete skončit tuto hru ?"));
            QTest::mouseClick(confirm->findChild<ActionLabel*>(QStringLiteral("lblStorno")),
                              Qt::LeftButton);
        },
        {}, QStringLiteral("frmSkoncit"));
    QTest::mouseClick(menu(5), Qt::LeftButton);
    QVERIFY(m_board->isVisible());
    QVERIFY(m_board->isVisible());
    QVERIFY(menu(0)->isEnabled());
    QCOMPARE(m_board->gameState().cardValue, values);
    QVERIFY(QFileInfo::exists(m_assets->tempPath() + QStringLiteral("Lotaro/rub/1.jpg")));

    // Any other way of closing the question counts as "Storno".
    onNextModal([](QWidget* confirm) { confirm->close(); }, {}, QStringLiteral("frmSkoncit"));
    QVERIFY(!m_board->close());
    QVERIFY(m_board->isVisible());

    answerOK(QStringLiteral("frmSkoncit"));
    QTest::mouseClick(menu(5), Qt::LeftButton);
    QVERIFY(!m_board->isVisible());
    QVERIFY(!m_board->isVisible());
    QVERIFY(!QFileInfo::exists(m_temp->filePath(QStringLiteral("Lotaro"))));
}

LOTARO_TEST_MAIN(BoardTest, QApplication)
#include "tst_board.moc"
