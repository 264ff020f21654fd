#include "TestMain.h"
#include "Windows.h"

#include "core/HallOfFame.h"
#include "ui/Screen.h"
#include "ui/WindowLook.h"
#include "windows/frmAbout.h"
#include "windows/frmKonec2.h"
#include "windows/frmNeexistuje.h"
#include "windows/frmNováHra.h"
#include "windows/frmNápověda.h"
#include "windows/frmSkoncit.h"
#include "windows/frmSíň.h"
#include "windows/frmkonec1.h"

// The new-game dialog driven as a player would, and every small window's texts and place.
class DialogsTest : public QObject {
    Q_OBJECT
    std::unique_ptr<QWidget> m_board;
    HallOfFame m_fame;
    GameHarness g;
    std::unique_ptr<frmNováHra> m_newGame;
    std::optional<GameSettings> m_answer;

    std::unique_ptr<QDialog> make(const QString& window)
    {
        QWidget* b = m_board.get();
        if (window == u"frmNápověda")
            return std::make_unique<frmNápověda>(b);
        if (window == u"frmSkoncit")
            return std::make_unique<frmSkoncit>(b);
        if (window == u"frmNeexistuje")
            return std::make_unique<frmNeexistuje>(b);
        if (window == u"frmAbout")
            return std::make_unique<frmAbout>(b);
        if (window == u"frmSíň")
            return std::make_unique<frmSíň>(b, m_fame, std::nullopt, nullptr);
        if (window == u"frmkonec1")
            return std::make_unique<frmkonec1>(b, HallOfFameEntry());
        if (window == u"frmKonec2")
            return std::make_unique<frmKonec2>(b, frmKonec2::Board{});
        return std::make_unique<frmNováHra>(b, g.services());
    }
    bool open(const std::function<void(QWidget*)>& act)
    {
        onNextModal(act, u"frmNováHra"_s);
        m_answer = m_newGame->ask();
        return m_answer.has_value();
    }
    // The option buttons that are on, the labels that have the look of the label under the mouse.
    template <class T> static QString names(QWidget* d, bool (T::*state)() const)
    {
        QStringList on;
        for (const T* w : d->findChildren<T*>())
            if ((w->*state)())
                on << w->objectName();
        on.sort();
        return on.join(u' ');
    }
    static QString checked(QWidget* d) { return names<QRadioButton>(d, &QRadioButton::isChecked); }
    static QString lit(QWidget* d) { return names<ActionLabel>(d, &ActionLabel::isHighlighted); }

private Q_SLOTS:
    void initTestCase() { Screen::magnify(0); }
    void init()
    {
        if (skipOffMainScreen())
            QSKIP("the same on every screen");
        g.reset(1);
        m_board = std::make_unique<QWidget>();
        m_board->setGeometry(QGuiApplication::primaryScreen()->geometry());
        m_board->show();
        m_newGame = std::make_unique<frmNováHra>(m_board.get(), g.services());
    }
    void cleanup()
    {
        m_newGame.reset();
        m_board.reset();
        g.assets->RemoveAssetTree();
        checkNoWindowOpen();
    }

    void windows_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QSize>("size");    // of the client area
        QTest::addColumn<int>("panel");     // card size kept clear; 0 centred; -1 placed when shown
        QTest::addColumn<QPoint>("ok");     // where "OK" stands in the client area, in twips
        QTest::addColumn<QString>("texts"); // of its labels, each once, as created
        everyScreen("help")
            << u"frmNápověda"_s << QSize(463, 265) << 980 << QPoint(3045, 3465)
            << "Stisk klávesy Esc způsobí minimalizaci hry. Pokud budete chtít hrát Lotaro s "
               "vlastními obrázky,  nakopírujte je do adresáře, ve kterém je umístěn soubor "
               "lotaro. "
               "Obrázky musí být formátu jpg, jejich velikost upravte na 90x90 pixelů a pojmenujte "
               "je 1.jpg až 40.jpg. Pokud budete chtít hrát Lotaro s 6x5 kartičkama, stačí obrázků "
               "patnáct, pro hru s 8x6 kartičkama potřebujete obrázků 24. Pokud si ještě nevíte s "
               "něčím rady, mailujte na adresu uvedenou v okně O programu. Příjemnou zábavu vám "
               "přeje autor.|OK";
        everyScreen("quit") << u"frmSkoncit"_s << QSize(292, 92) << 980 << QPoint(2730, 945)
                            << "Opravdu chcete skončit tuto hru ?|Storno|OK";
        everyScreen("missing set") << u"frmNeexistuje"_s << QSize(292, 92) << 980
                                   << QPoint(1785, 840) << "Požadovaná sada obrázků neexistuje.|OK";
        everyScreen("about") << u"frmAbout"_s << QSize(264, 236) << 980 << QPoint(1575, 3045)
                             << "Lotaro  v.1|Vývojáři hry Lotaro, 2026|Pokud máte nějaké "
                                "návrhy, připomínky a náměty, laskavě mi je sdělte.|"
                                "lotaro@example.org|https://lotaro.example.org/|OK";
        everyScreen("hall of fame") << u"frmSíň"_s << QSize(491, 531) << 980 << QPoint(4725, 7455)
                                    << "SÍŇ SLÁVY|Hráč|Datum|Otočené|Čas|10x8|8x6|6x5|...|"
                                       "1.1.2000|999|0:00:00|Vymazat|OK";
        everyScreen("one result") << u"frmkonec1"_s << QSize(287, 168) << 0 << QPoint(1785, 1995)
                                  << "VÝSLEDKY HRY|Otočené:|Čas:|...|999|0:00:00|OK";
        everyScreen("two results") << u"frmKonec2"_s << QSize(384, 193) << 0 << QPoint(2415, 2310)
                                   << "VÝSLEDKY HRY|vs|:|OK";
        everyScreen("new game")
            << u"frmNováHra"_s << QSize(364, 483) << -1 << QPoint(3885, 6720)
            << "Lotaro|Rozlišení displeje :|Obrázky - líc|Obrázky - rub|Počet kartiček|Počet hráčů|"
               "Otočení kartiček|1 hráč|2 hráči|10 x 8|8 x 6|6 x 5|Číslice|Obrázky 1|Obrázky 2|"
               "Obrázky 3|Krásné ženy|Vlastní|Dřevo|Listí|Noviny|Lesní plody|Technika|Zeď|1 sec|"
               "2 sec|3 sec|Celý tah|1. hráč (max 6):|2. hráč (max 6):|Konec|OK";
    }
    // Each window's texts as written (the help's wrapped); its client area has its size in
    // twips and sits 0.6 card sizes left of the screen's centre, or on it. A dark desktop
    // scheme changes nothing that is drawn on the texture.
    void windows()
    {
        QFETCH(QString, window);
        QFETCH(QSize, size);
        QFETCH(int, panel);
        QFETCH(QPoint, ok);
        const std::unique_ptr<QDialog> d = make(window);
        if (panel > 0) // the board places these
            WindowLook::placeDialog(d.get(), panel);
        QStringList texts;
        for (const QLabel* l : d->findChildren<QLabel*>())
            if (!l->text().isEmpty() && !texts.contains(l->text()))
                texts << l->text();
        QTEST(texts.join(u'|'), "texts");
        QVERIFY(d->findChild<QLabel*>()->wordWrap() == (window == u"frmNápověda"));
        QVERIFY(!d->isWindow()); // drawn inside the board
        const QWidget* client = child(d.get(), u"KlientskáOblast"_s);
        QCOMPARE(client->geometry(), QRect(QPoint(3, 3), size));
        QCOMPARE(d->size(), size + QSize(6, 6));
        QCOMPARE(child(client, u"lblOK"_s)->pos(),
                 QPoint(qRound(ok.x() / 15.0), qRound(ok.y() / 15.0)));
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        const double left = (screen.width() * 15.0 - size.width() * 15.0 - 1.2 * panel) / 2;
        const double top = (screen.height() * 15.0 - size.height() * 15.0) / 2;
        if (panel >= 0)
            QCOMPARE(client->mapToGlobal(QPoint()),
                     QPoint(int(std::lround(left / 15)), int(std::lround(top / 15))));
        const QImage shown = d->grab().toImage();
        const qreal dpr = d->devicePixelRatioF();
        if (dpr == 1)
            QCOMPARE(shown.pixel(3, 3), WindowLook::backgroundTile().toImage().pixel(0, 0));
        // The raised edge below and right, from the outside in: black, dark grey, grey, each
        // a ring of whole device pixels about as wide as one magnified design pixel.
        for (QPoint step : {QPoint(0, -1), QPoint(-1, 0)}) {
            QPoint at = step.x() ? QPoint(shown.width() - 1, shown.height() / 2)
                                 : QPoint(shown.width() / 2, shown.height() - 1);
            for (QRgb ring : {0xFF000000, 0xFF808080, 0xFFC0C0C0}) {
                int width = 0;
                for (; shown.pixel(at) == ring; at += step)
                    ++width;
                QVERIFY2(qAbs(width - dpr) < 1, qPrintable(QString::number(ring, 16)));
            }
        }
        const auto scheme = darkDesktop();
        QCOMPARE(make(window)->grab().toImage(), shown);
    }

    // First run: the default choice, the second name box disabled, the resolution shown, the
    // client area centred, the assets unpacking. A caption selects its button and takes the look
    // within its group; the bare background clears every look. No key answers; "Konec" or any
    // other close quits and writes nothing.
    void firstRun_data()
    {
        QTest::addColumn<QString>("close");
        everyScreen("Konec") << "lblKonec";
        everyScreen("closed by the desktop") << "";
    }
    void firstRun()
    {
        QFETCH(QString, close);
        QVERIFY(!open([&](QWidget* d) {
            QCOMPARE(checked(d), u"optHráči_0 optLíc_1 optOtočení_3 optPočetKaret_0 optRub_0"_s);
            auto* name2 = child<QLineEdit>(d, u"txtHráč2"_s);
            QVERIFY(child<QLineEdit>(d, u"txtHráč1"_s)->text().isEmpty() &&
                    name2->text().isEmpty() && !name2->isEnabled());
            QTRY_COMPARE(QApplication::focusWidget(), child(d, u"txtHráč1"_s));
            const QRect screen = QGuiApplication::primaryScreen()->geometry();
            const QSize device = Screen::deviceSize();
            QCOMPARE(child<QLabel>(d, u"Label3"_s)->text(),
                     u"%1x%2"_s.arg(device.width()).arg(device.height()));
            QCOMPARE(child(d, u"KlientskáOblast"_s)->mapToGlobal(QPoint()),
                     QPoint(int(std::lround((screen.width() * 15.0 - 5460) / 30)),
                            int(std::lround((screen.height() * 15.0 - 7245) / 30))));
            QTRY_VERIFY(QFileInfo::exists(g.temp->filePath(u"Lotaro/zvuky/3.wav"_s)));

            for (const char* name : {"lblLíc_5", "lblRub_5", "lblPočetKaret_2", "lblOtočení_0",
                                     "lblHráči_1", "lblRub_2", "lblRub_1", "lblLíc_3"}) {
                hoverOver(child(d, QString::fromUtf8(name)));
                clickOn(d, QString::fromUtf8(name));
            }
            QCOMPARE(checked(d), u"optHráči_1 optLíc_3 optOtočení_0 optPočetKaret_2 optRub_1"_s);
            for (const char* name : {"lblOK", "lblKonec", "optRub_4", "txtHráč1"})
                hoverOver(child(d, QString::fromUtf8(name)));
            QCOMPARE(lit(d),
                     u"lblHráči_1 lblKonec lblLíc_3 lblOK lblOtočení_0 lblPočetKaret_2 lblRub_1"_s);
            const QFont look = child<ActionLabel>(d, u"lblRub_1"_s)->font();
            QVERIFY(look.bold() && !look.italic() && !look.underline());
            QWidget* client = child(d, u"KlientskáOblast"_s);
            const QPoint bare(client->width() - 3, client->height() - 3);
            QVERIFY(!client->childAt(bare));
            hoverOver(client, bare);
            QCOMPARE(lit(d), QString());
            for (Qt::Key key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter}) {
                QTest::keyClick(d, key);
                QVERIFY(d->isVisible());
            }
            close.isEmpty() ? void(d->close()) : clickOn(d, close);
        }));
        QVERIFY(g.store.writes.isEmpty());
    }

    // The stored choice is shown; the second name box follows the number of players and keeps
    // its text; names take six characters; "OK" stores the choice in one step and answers it.
    void choiceShownChangedAndStored()
    {
        saveChoice(g.store, OptionChoice{1, 2, 4, 5, 1, u"Eva"_s, u"Ota"_s});
        g.store.writes.clear(), g.store.syncs = 0;
        QVERIFY(open([](QWidget* d) {
            QCOMPARE(checked(d), u"optHráči_1 optLíc_4 optOtočení_1 optPočetKaret_2 optRub_5"_s);
            auto* name1 = child<QLineEdit>(d, u"txtHráč1"_s);
            auto* name2 = child<QLineEdit>(d, u"txtHráč2"_s);
            clickOn(d, u"lblHráči_0"_s);
            QVERIFY(!name2->isEnabled());
            QTest::mouseClick(child(d, u"optHráči_1"_s), Qt::LeftButton, {}, QPoint(6, 8));
            QVERIFY(name2->isEnabled() && name2->text() == u"Ota");
            for (const char* caption :
                 {"lblHráči_0", "lblPočetKaret_1", "lblRub_3", "lblOtočení_2"})
                clickOn(d, QString::fromUtf8(caption));
            name1->clear();
            for (const QChar ch : u"Přemysl Oráč"_s) {
                QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(ch));
                QApplication::sendEvent(name1, &press);
            }
            auto* ok = child<ActionLabel>(d, u"lblOK"_s);
            hoverOver(ok);
            QTest::mouseClick(ok, Qt::LeftButton);
            QVERIFY(!ok->isHighlighted()); // the look goes with the window
        }));
        QCOMPARE(loadChoice(g.store), (OptionChoice{0, 1, 4, 3, 2, u"Přemys"_s, u"Ota"_s}));
        QVERIFY(g.store.writes.size() == 7 && g.store.syncs == 1);
        const GameSettings& a = *m_answer;
        QCOMPARE((QList<int>{a.twoPlayers, a.columns, a.rows, a.flipDelay, a.cardSize}),
                 (QList<int>{0, 8, 6, 3000, detectCardSize(Screen::metrics())}));
        QCOMPARE(a.faceSet + a.backSet + a.player1Name, u"44Přemys"_s);
    }

    // The two links open the mail program and the browser; the one under the mouse is underlined.
    void aboutLinks()
    {
        QList<QUrl> opened;
        frmAbout about(m_board.get(), [&](const QUrl& url) {
            opened.append(url);
            return true;
        });
        about.show();
        auto* mail = child<ActionLabel>(&about, u"lblDisclaimer"_s);
        auto* web = child<ActionLabel>(&about, u"Label3"_s);
        hoverOver(mail);
        QVERIFY(mail->font().underline() && !web->font().underline());
        hoverOver(&about, QPoint(about.width() - 2, about.height() - 2)); // the bare window
        QVERIFY(!mail->font().underline());
        QTest::mouseClick(web, Qt::LeftButton);
        QTest::mouseClick(mail, Qt::LeftButton);
        QCOMPARE(opened, (QList<QUrl>{QUrl(frmAbout::web), QUrl(u"mailto:"_s + frmAbout::email)}));
        about.close();
    }
};

LOTARO_TEST_MAIN(DialogsTest, QApplication)
#include "tst_dialogs.moc"
