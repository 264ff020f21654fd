#include "TestMain.h"
#include "Windows.h"

#include "core/Deal.h"
#include "core/Twips.h"
#include "ui/Pictures.h"
#include "ui/Screen.h"
#include "ui/WindowLook.h"

// The board window played with real clicks, from the deal to the result and the hall of fame.
class BoardTest : public QObject {
    Q_OBJECT
    QTemporaryDir m_own;
    GameHarness g;

    QLabel* label(const char* name, QWidget* in = nullptr) const
    {
        return child<QLabel>(in ? in : g.board.get(), QString::fromUtf8(name));
    }
    QTimer* timer(const char* name) const { return g.find<QTimer>(QString::fromUtf8(name)); }
    bool shows(int k, const QString& picture, int n = -1) const
    {
        return g.card(k)->picture().cacheKey() ==
               g.find<CardPicture>(picture, n)->picture().cacheKey();
    }
    // Cards as shown: "D" the back, "U" the face, "R" removed; lower case when not clickable.
    QString cards(const QList<int>& which) const
    {
        QString shown;
        for (int k : which) {
            const QChar c = !g.card(k)->isVisible()     ? u'R'
                            : shows(k, u"imgLíc_"_s, k) ? u'U'
                            : shows(k, u"imgRub"_s)     ? u'D'
                                                        : u'?';
            shown += g.card(k)->isEnabled() ? c : c.toLower();
        }
        return shown;
    }
    // The visible panel labels' texts, "*" after grey ones, "?" after any colour but black.
    QString panel(QWidget* in = nullptr) const
    {
        QStringList shown;
        for (const char* name : {"lblHráč1", "lblSkóre1", "lblČas", "lblHráč2", "lblSkóre2"}) {
            const QLabel* l = label(name, in);
            const QColor c =
                l ? l->palette().color(QPalette::Active, QPalette::WindowText) : QColor();
            if (l && l->isVisibleTo(l->window()))
                shown << l->text() + (c == QColor(0x80, 0x80, 0x80) ? u"*"_s
                                      : c == Qt::black              ? u""_s
                                                                    : u"?"_s);
        }
        return shown.join(u'|');
    }
    // A row of the hall of fame: name, date, moves and time, "*" when bold.
    static QString row(QWidget* w, int r)
    {
        QStringList shown;
        for (const char* name : {"lblJméno_", "lblDatum_", "lblOtočené_", "lblČas_"})
            shown << child<QLabel>(w, QString::fromUtf8(name) + QString::number(r))->text();
        return shown.join(u'|') +
               (child<QLabel>(w, u"lblJméno_%1"_s.arg(r))->font().bold() ? u"*"_s : u""_s);
    }
    void click(int k) { QTest::mouseClick(g.card(k), Qt::LeftButton); }
    void start(int boardSize, bool two = false, const char* flip = "3")
    {
        g.choose(SettingsKeys::boardSize, QString::number(boardSize));
        g.choose(SettingsKeys::players, two ? u"1"_s : u"0"_s);
        g.choose(SettingsKeys::flip, QString::fromUtf8(flip));
        g.start();
    }
    // The two cards of a pair not found yet and a card of another pair (-1 when none is left).
    QList<int> unfound() const
    {
        const QStringList values = g.board->gameState().cardValue;
        QList<int> cards;
        for (int k = 0; k < values.size(); ++k) {
            if (!g.card(k)->isVisible() || !g.card(k)->isEnabled()) // gone, or a pair found
                continue;
            if (cards.isEmpty())
                cards = {k, int(values.indexOf(values[k], k + 1))};
            else if (values[k] != values[cards[0]])
                return cards << k;
        }
        return cards << -1;
    }
    // Finds pairs for the player on move; a miss turns two cards of different pairs.
    void findPairs(int count)
    {
        for (int i = 0; i < count; ++i) {
            const QList<int> cards = unfound();
            click(cards[0]);
            click(cards[1]);
        }
    }
    void miss()
    {
        const QList<int> cards = unfound();
        click(cards[0]);
        click(cards[2]);
    }

private Q_SLOTS:
    void initTestCase() { Screen::magnify(0); }
    void init()
    {
        if (skipOffMainScreen())
            QSKIP("the same on every screen");
        g.reset(7, m_own.path());
    }
    void cleanup()
    {
        if (!g.board)
            return;
        g.board.reset();
        g.assets->RemoveAssetTree();
        QVERIFY(!QFileInfo::exists(g.temp->filePath(u"Lotaro"_s)));
        checkNoWindowOpen();
    }

    void layout_data()
    {
        QTest::addColumn<int>("cards");
        everyScreen("10 x 8") << 80;
    }
    // The 10 x 8 board covers the screen: cards, panel and menu where their twips fall in pixels.
    void layout()
    {
        g.start();
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        struct Expected { // in pixels
            int cardSide;
            QPoint firstCard;
            int panelX, firstMenuY;
        };
        const QHash<int, Expected> layouts{
            {640, {51, {21, 26}, 579, 245}},     {800, {65, {19, 27}, 722, 365}},
            {1024, {87, {12, 26}, 920, 533}},    {1280, {87, {140, 154}, 1176, 789}},
            {600, {87, {-200, -158}, 496, 165}}, {1376, {87, {188, 29}, 1272, 539}}};
        QVERIFY2(layouts.contains(screen.width()), "a screen the table knows");
        const Expected e = layouts[screen.width()];
        // A large screen holds the design magnified (by the factor of the desktop and the
        // game's), to its last device pixel; a card's picture has the card's device size.
        const QSize device = Screen::deviceSize();
        const auto [ratio, picture] = QHash<int, std::pair<double, int>>{
            {1920, {1.3953, 121}},
            {2048, {2, 174}},
            {2560, {1.8605, 162}},
            {3840, {2.7907, 243}}}.value(device.width(), {1, e.cardSide});
        QCOMPARE(qRound(g.board->devicePixelRatioF() * 1e4), qRound(ratio * 1e4));
        QCOMPARE((QSizeF(g.board->size()) * ratio).toSize(), device);
        QCOMPARE(g.cards()[0]->picture().size(), QSize(picture, picture));
        // Above the cards the paper repeats with the tile's device size: laid, never scaled again.
        const QImage paper = g.board->grab(QRect(0, 0, g.board->width(), 1)).toImage();
        for (int x = 0, tile = WindowLook::backgroundTile().width();
             x < tile && e.firstCard.y() > 0; ++x)
            QCOMPARE(paper.pixel(x, 0), paper.pixel(x + tile, 0));
        QCOMPARE(g.board->geometry(), screen);
        QVERIFY(g.board->isFullScreen() && g.board->windowFlags() & Qt::FramelessWindowHint);
        const QList<CardPicture*> board = g.cards();
        QTEST(int(board.size()), "cards");
        QCOMPARE(board[0]->geometry(), QRect(e.firstCard, QSize(e.cardSide, e.cardSide)));
        // Row by row, and neighbouring cards never touch: the gap survives the rounding.
        QCOMPARE(board[10]->x(), board[0]->x());
        QVERIFY(board[1]->x() - board[0]->geometry().right() > 1);
        QVERIFY(board[10]->y() - board[0]->geometry().bottom() > 1);
        for (CardPicture* card : board)
            QVERIFY(card->isVisible() && card->isEnabled() &&
                    card->size() == QSize(e.cardSide, e.cardSide));
        QCOMPARE(label("lblHráč1")->pos(), QPoint(e.panelX, 67)); // 1000 twips
        QCOMPARE(label("lblSkóre1")->geometry(), QRect(e.panelX, 117, 73, 41));
        QCOMPARE(label("lblČas")->geometry(), QRect(e.panelX, 167, 73, 49));
        QCOMPARE(label("lblHráč2")->pos(), QPoint(e.panelX, 233));  // 3500 twips
        QCOMPARE(label("lblSkóre2")->pos(), QPoint(e.panelX, 267)); // 4000 twips
        QStringList menu;
        for (int k = 0; k < 6; ++k) {
            QCOMPARE(g.menu(k)->pos(), QPoint(e.panelX, e.firstMenuY + 28 * k)); // 420 twips apart
            QCOMPARE(g.menu(k)->size(), QSize(g.menu(k)->sizeHint().width(), 18));
            QVERIFY(g.menu(k)->isVisible() && g.menu(k)->isEnabled() && !g.menu(k)->font().bold());
            // Above the cards that reach under the panel on a small screen.
            QCOMPARE(g.board->childAt(g.menu(k)->geometry().center()), g.menu(k));
            menu << g.menu(k)->text();
        }
        QCOMPARE(menu.join(u'|'), u"Nová hra|Zvuky|Síň slávy|Nápověda|O programu|Konec"_s);
    }

    void magnifiedPictures_data()
    {
        QTest::addColumn<QString>("faces");
        everyScreen("Obrázky 3") << u"4"_s;
    }
    // At two device pixels to one, a card of 87 is drawn at 174 from the 180- and 200-px pictures.
    void magnifiedPictures()
    {
        if (qApp->devicePixelRatio() != 2)
            QSKIP("a magnified screen only");
        QFETCH(QString, faces);
        g.choose(SettingsKeys::face, faces);
        g.start();
        const auto at174 = [](const QString& file) {
            return loadPicture(file, QSize(87, 87), 2).picture.toImage();
        };
        const int face = 260 + g.board->gameState().cardValue[0].toInt();
        QCOMPARE(g.find<CardPicture>(u"imgLíc_0"_s)->picture().toImage(),
                 at174(u":/custom/%1@2x.jpg"_s.arg(face)));
        QCOMPARE(g.find<CardPicture>(u"imgRub"_s)->picture().toImage(), at174(u":/rub/1@2x.jpg"_s));
    }

    void ownSet_data()
    {
        QTest::addColumn<bool>("dealt");
        QTest::newRow("16 pictures for 6 x 5") << true;
        QTest::newRow("one of them not a picture") << false;
    }
    // The own set deals from its directory; an undecodable picture brings the notice over a
    // greyed board, then a new game.
    void ownSet()
    {
        QFETCH(bool, dealt);
        QDir own(m_own.path());
        own.removeRecursively(), own.mkpath(u"."_s);
        for (int n = 1; n <= 16; ++n) {
            // Not square: stretched to the card; the first camera-sized, too large to decode whole.
            QImage face(n > 1 ? 90 : 5100, n > 1 ? 60 : 3400, QImage::Format_RGB888);
            face.fill(QColor::fromHsv(n * 9, 220, 230));
            QVERIFY(face.save(own.filePath(u"%1.jpg"_s.arg(n)), "JPG", 95));
        }
        QFile damaged(own.filePath(u"7.jpg"_s));
        QVERIFY(dealt || (damaged.open(QIODevice::WriteOnly) && damaged.write("no picture")));
        damaged.close();
        g.choose(SettingsKeys::boardSize, u"2"_s);
        g.choose(SettingsKeys::face, u"5"_s);
        bool noticed = false;
        if (!dealt)
            onNextModal(
                [&](QWidget* notice) {
                    noticed = true;
                    // The next game takes a set that exists.
                    answerOK(u"frmNováHra"_s, [](QWidget* d) { clickOn(d, u"lblLíc_1"_s); });
                    QCOMPARE(g.board->cursor().shape(), Qt::ArrowCursor);
                    QVERIFY(!g.menu(0)->isEnabled() && !g.menu(5)->isEnabled());
                    QVERIFY(!label("lblHráč1")->isEnabled() && !label("lblČas")->isEnabled());
                    QCOMPARE(
                        label("lblČas")->palette().color(QPalette::Disabled, QPalette::WindowText),
                        QColor(0x80, 0x80, 0x80)); // greyed, yet darker than the paper
                    clickOn(notice, u"lblOK"_s);
                },
                u"frmNeexistuje"_s);
        answerOK(u"frmNováHra"_s);
        g.start(false);
        QCOMPARE(noticed, !dealt);
        QCOMPARE(g.board->settings().faceSet, dealt ? u"5"_s : u"1"_s);
        QCOMPARE(g.cards().size(), 30);
        QCOMPARE(cards({0, 29}), u"DD"_s);
        QVERIFY(g.menu(0)->isEnabled() && label("lblHráč1")->isEnabled());
        QCOMPARE(g.board->cursor().shape(), Qt::ArrowCursor);
        // Behind its back the card holds its pair's picture, stretched to the card: the own
        // set's file "n.jpg" for pair n.
        const QImage face = g.find<CardPicture>(u"imgLíc_"_s, 0)->picture().toImage();
        QCOMPARE(face.size(), g.card(0)->size());
        const QString pair = g.board->gameState().cardValue[0];
        const QString path =
            g.assets->facePath(g.board->settings().faceSet, pair, g.card(0)->width());
        QCOMPARE(face, loadPicture(path, g.card(0)->size(), 1).picture.toImage());
        QVERIFY(!dealt || qAbs(face.pixelColor(25, 25).hue() - pair.toInt() * 9) <= 3);
    }

    // One player, 2 seconds, dark desktop scheme: the panel in black; the clock starts with the
    // first click; a miss stays open for the delay, keeping clicks out, a pair shows unclickable,
    // then leaves. A turned card and a miss sound "1.wav", a pair "2.wav".
    void onePlayerMoves()
    {
        const auto scheme = darkDesktop();
        g.choose(SettingsKeys::name1, u"Šárka"_s);
        g.choose(SettingsKeys::name2, u"Jiří"_s);
        start(2, false, "1");
        QCOMPARE(panel(), u"Šárka|Otočené:   0|Čas: 0:00:00"_s);
        QCOMPARE(g.menu(0)->palette().color(QPalette::Active, QPalette::WindowText),
                 QColor(Qt::black));
        const QList<int> c = unfound();
        QTest::mousePress(g.card(c[0]), Qt::LeftButton);
        QTest::mouseRelease(g.card(c[0]), Qt::LeftButton, {}, QPoint(-5, -5)); // let go beside it
        QVERIFY(cards(c) == u"DDD" && !timer("Timer1")->isActive());
        click(c[0]);
        runFast(timer("Timer1"), 1000);
        QCOMPARE(cards(c) + u' ' + panel(), u"UDD Šárka|Otočené:   0|Čas: 0:00:00"_s);
        click(c[2]);
        runFast(timer("Timer2"), 2000);
        click(c[1]);
        QCOMPARE(cards(c) + u' ' + label("lblSkóre1")->text(), u"UDU Otočené:   1"_s);
        QTRY_COMPARE(cards(c), u"DDD"_s);
        const QRect at = g.card(c[2])->geometry(); // what reached the screen, not a fresh paint
        QTRY_COMPARE(QGuiApplication::primaryScreen()
                         ->grabWindow(g.board->winId(), at.x(), at.y(), at.width(), at.height())
                         .toImage(),
                     g.card(c[2])->picture().toImage().convertToFormat(QImage::Format_RGB32));
        QCOMPARE(g.sound.requests, QStringList(2, g.assets->soundPath(GameSound::Turn)));
        click(c[0]);
        click(c[1]);
        QCOMPARE(g.requests(GameSound::Pair), 1);
        QCOMPARE(cards(c), u"uuD"_s);
        QTRY_COMPARE(cards(c), u"rrD"_s);
        QCOMPARE(label("lblSkóre1")->text(), u"Otočené:   2"_s);
        g.clock.time = g.clock.time.addSecs(65);
        QTRY_COMPARE(label("lblČas")->text(), u"Čas: 0:01:05"_s);
        QTest::keyClick(g.board.get(), Qt::Key_Escape);
        QVERIFY(g.board->isMinimized()); // to the taskbar, the game as it was
    }

    void onePlayerResult_data()
    {
        QTest::addColumn<QString>("how");    // the hall of fame's answer
        QTest::addColumn<QString>("stored"); // the small table's first place afterwards
        QTest::newRow("new record") << u"lblOK"_s << "Hráč 1|6.12.2026|15|0:01:30";
        QTest::newRow("cleared") << u"lblVymazat"_s << "...|1.1.2000|999|0:00:00";
        QTest::newRow("closed by the desktop") << u"close"_s << "Hráč 1|6.12.2026|15|0:01:30";
    }
    // The result over a frozen board; a new record opens the hall of fame, its row bold and
    // blinking, the fanfare once, and only "OK" stores; "Vymazat" empties every row.
    void onePlayerResult()
    {
        QFETCH(QString, how);
        start(2);
        findPairs(14);
        g.clock.time = g.clock.time.addSecs(90);
        onNextModal(
            [&](QWidget* w) {
                QCOMPARE(label("lblHráč1", w)->text() + u'|' + label("lblOtočené", w)->text() +
                             u'|' + label("lblČas", w)->text(),
                         u"Hráč 1|15|0:01:30"_s);
                QCOMPARE(label("lblSkóre1")->text(), u"Otočené:   15"_s);
                QVERIFY(!label("lblHráč1")->isEnabled() && !g.menu(0)->isEnabled());
                QVERIFY(!timer("Timer1")->isActive());
                clickOn(w, u"lblOK"_s);
            },
            u"frmkonec1"_s);
        onNextModal(
            [&](QWidget* w) {
                QLabel* name = label("lblJméno_10", w);
                QCOMPARE(
                    row(w, 10) + u' ' + row(w, 11) + u' ' + row(w, 0),
                    u"Hráč 1|6.12.2026|15|0:01:30* ...|1.1.2000|999|0:00:00 ...|1.1.2000|999|0:00:00"_s);
                eachBlink(w, [&](qsizetype ticks) { // the fanfare with the second tick
                    QCOMPARE(name->isHidden(), ticks % 2 == 1);
                    QCOMPARE(g.requests(GameSound::End), ticks >= 2 ? 1 : 0);
                });
                QVERIFY(g.store.writes.filter(u"Malý/"_s).isEmpty());
                if (how == u"lblVymazat") {
                    auto* clear = child<ActionLabel>(w, how);
                    hoverOver(clear);
                    QTest::mouseClick(clear, Qt::LeftButton);
                    QVERIFY(clear->isHighlighted() && !name->isHidden());
                    QCOMPARE(row(w, 10), u"...|1.1.2000|999|0:00:00"_s);
                    QVERIFY(!blinkTimer(w)->isActive());
                }
                if (how == u"close")
                    w->close();
                else
                    clickOn(w, u"lblOK"_s);
            },
            u"frmSíň"_s);
        answerOK(u"frmNováHra"_s);
        findPairs(1);
        QStringList stored;
        for (const char* key : {"0Jméno", "0Datum", "0Otočené", "0Čas"})
            stored << g.store.values.value(u"Malý/"_s + QString::fromUtf8(key));
        QTEST(stored.join(u'|'), "stored");
        QCOMPARE(g.store.writes.filter(u"Malý/"_s).size(), 20);
        QCOMPARE(g.store.values.value(u"Velký/4Otočené"_s), u"999"_s);
        QCOMPARE(g.board->gameState().pairsFound, 0); // the next game is dealt
        QVERIFY(label("lblHráč1")->isEnabled() && g.menu(0)->isEnabled());
    }

    void twoPlayersResult_data()
    {
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("second");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("blinked"); // on the odd ticks
        QTest::newRow("12 : 12") << 12 << 12 << "Hráč 1| 12|Hráč 2| 12"
                                 << "Hráč 1| 12|Hráč 2| 12";
        QTest::newRow("10 : 14") << 10 << 14 << u"Hráč 1| 10|Hráč 2| 14"_s << "Hráč 1| 10";
        QTest::newRow("14 : 10") << 14 << 10 << u"Hráč 1| 14|Hráč 2| 10"_s << "Hráč 2| 10";
    }
    // 8 x 6: names and scores, the winner's (none on a draw) hidden on odd ticks, the fanfare once.
    void twoPlayersResult()
    {
        QFETCH(int, first);
        QFETCH(int, second);
        start(1, true);
        QCOMPARE(panel(), u"Hráč 1|0|Hráč 2*|0*"_s); // the player on move in black, the other grey
        findPairs(first);
        miss();
        findPairs(second - 1);
        onNextModal(
            [&](QWidget* w) {
                eachBlink(w, [&](qsizetype ticks) {
                    QTEST(panel(w), ticks % 2 ? "blinked" : "shown");
                    QCOMPARE(g.requests(GameSound::End), ticks >= 2 ? 1 : 0);
                });
                answerOK(u"frmNováHra"_s);
                clickOn(w, u"lblOK"_s);
            },
            u"frmKonec2"_s);
        findPairs(1);
        // The last click dealt the next game, which takes clicks at once.
        QVERIFY(!timer("Timer1")->isActive() && !timer("Timer2")->isActive());
        click(4);
        QCOMPARE(cards({0, 4, 29}), u"DUD"_s);
    }

    void endedAtANewRecord_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<bool>("cleared");
        QTest::newRow("result") << u"frmkonec1"_s << false;
        QTest::newRow("hall of fame") << u"frmSíň"_s << false;
        QTest::newRow("hall of fame, cleared") << u"frmSíň"_s << true;
    }
    // The run ended (a signal, the session's end) while a new record was shown: windows closed,
    // the record stored, a "Vymazat" without its "OK" not carried out, the tree gone.
    void endedAtANewRecord()
    {
        QFETCH(QString, window);
        QFETCH(bool, cleared);
        start(2);
        g.store.write(u"Střední"_s, u"0Jméno"_s, u"Eva"_s); // another table, kept
        g.store.write(u"Střední"_s, u"0Otočené"_s, u"30"_s);
        findPairs(14);
        if (window == u"frmSíň")
            answerOK(u"frmkonec1"_s);
        onNextModal(
            [&](QWidget* w) {
                if (cleared)
                    clickOn(w, u"lblVymazat"_s);
                g.board->endRun();
            },
            window);
        findPairs(1);
        QCOMPARE(g.store.values.value(u"Malý/0Jméno"_s) + g.store.values.value(u"Malý/0Otočené"_s) +
                     g.store.values.value(u"Střední/0Jméno"_s),
                 u"Hráč 115Eva"_s);
        QVERIFY(!QFileInfo::exists(g.temp->filePath(u"Lotaro"_s)));
        checkNoWindowOpen();
        // The next test's windows need a loop again: one ends at once, and clears the run's end.
        QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
        QCoreApplication::exec();
    }

    // An open window takes all input, the desktop's close of the board included. The second click
    // of a double-click on a dialog's "OK" falls on the uncovered board: a press within the
    // double-click interval after a dialog closed turns no card.
    void clicksAndKeysAroundADialog()
    {
        g.start();
        bool quitAsked = false;
        onNextModal(
            [&](QWidget* help) {
                // Were the close the board's own, it would ask whether to quit.
                QTimer::singleShot(0, help, [&] { quitAsked = FramedDialog::closeTopmost(); });
                click(0);
                QTest::keyClick(g.board.get(), Qt::Key_Escape);
                QVERIFY(FramedDialog::topmost() == help && !g.board->close());
                QVERIFY(!FramedDialog::topmost());
            },
            u"frmNápověda"_s);
        QTest::mouseClick(g.menu(3), Qt::LeftButton);
        QVERIFY(!quitAsked && !g.board->isMinimized() && cards({0}) == u"D");
        QGuiApplication::styleHints()->setMouseDoubleClickInterval(60000);
        click(0);
        QTest::mouseClick(g.menu(1), Qt::LeftButton);
        QVERIFY(g.cards().size() == 80 && cards({0}) == u"D" && g.board->soundOn());
        QGuiApplication::styleHints()->setMouseDoubleClickInterval(0);
        click(0);
        QCOMPARE(cards({0}), u"U"_s);
    }

    // The sound output is readied with the first deal, not while the dialog is up. The menu
    // opens its windows and switches the sound off; "Nová hra" stops the clock and deals anew;
    // "Konec" and the desktop's close ask first, and only "OK" ends the run and removes the tree.
    void newGameAndQuit()
    {
        answerOK(u"frmNováHra"_s, [this](QWidget*) { QCOMPARE(g.sound.prepared, 0); });
        g.start(false);
        QCOMPARE(g.sound.prepared, 1);
        hoverOver(g.menu(2)); // the label under the mouse bold in a box
        QVERIFY(g.menu(2)->font().bold() && g.menu(2)->frameShape() == QFrame::Box &&
                g.menu(2)->lineWidth() == 1);
        // Every window stands in the middle of the screen left of the side panel.
        const int middle =
            g.board->width() / 2 - Twips::toPixels(0.6 * g.board->settings().cardSize);
        for (int k : {2, 3, 4}) {
            QString opened;
            int centre = 0;
            onNextModal([&](QWidget* w) {
                opened = w->objectName();
                centre = w->geometry().center().x();
            });
            QTest::mouseClick(g.menu(k), Qt::LeftButton);
            QCOMPARE(opened, (QStringList{u"frmSíň"_s, u"frmNápověda"_s, u"frmAbout"_s}[k - 2]));
            QVERIFY2(qAbs(centre - middle) <= 1, qPrintable(opened));
        }
        QTest::mouseClick(g.menu(1), Qt::LeftButton); // sound off, struck through, stored at once
        QVERIFY(g.menu(1)->font().strikeOut() && g.store.values.value(u"Nastavení/Zvuk"_s) == u"0");
        click(0);
        QVERIFY(g.sound.requests.isEmpty());
        answerOK(u"frmNováHra"_s, [](QWidget* d) { clickOn(d, u"lblPočetKaret_2"_s); });
        QTest::mouseClick(g.menu(0), Qt::LeftButton);
        QVERIFY(!timer("Timer1")->isActive() && g.cards().size() == 30 && g.sound.prepared == 1);
        QTRY_COMPARE(g.board->findChildren<CardPicture*>().size(), 2 * 30 + 1);
        QVERIFY(!g.menu(0)->isHighlighted() && g.menu(0)->isEnabled());
        const QStringList values = g.board->gameState().cardValue;
        onNextModal([](QWidget* confirm) { clickOn(confirm, u"lblStorno"_s); }, u"frmSkoncit"_s);
        QTest::mouseClick(g.menu(5), Qt::LeftButton);
        onNextModal([](QWidget* confirm) { confirm->close(); }, u"frmSkoncit"_s);
        QVERIFY(!g.board->close()); // closed by the desktop, asked the same
        QVERIFY(g.board->isVisible() && g.menu(0)->isEnabled());
        QCOMPARE(g.board->gameState().cardValue, values);
        QVERIFY(QFileInfo::exists(g.assets->backPath(u"1"_s)));
        answerOK(u"frmSkoncit"_s);
        QTest::mouseClick(g.menu(5), Qt::LeftButton);
        QVERIFY(!g.board->isVisible());
        QVERIFY(!QFileInfo::exists(g.temp->filePath(u"Lotaro"_s)));
    }
};

LOTARO_TEST_MAIN(BoardTest, QApplication)
#include "tst_board.moc"
