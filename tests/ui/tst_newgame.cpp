#include "TestMain.h"
#include "Windows.h"

#include "core/AssetStore.h"
#include "core/GameSettings.h"
#include "core/RandomSource.h"
#include "ui/ActionLabel.h"
#include "ui/Screen.h"
#include "windows/frmNováHra.h"

#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScreen>

// The new-game dialog, driven as a player would.
class NewGameTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void firstRunOnEmptyStore();
    void choiceShownChangedAndStored();
    void captionsSelectTheirButtons_data();
    void captionsSelectTheirButtons();
    void hoverLooks();
    void laterOpeningsKeepTheChoice();
    void onlyOkAndKonecAnswer_data();
    void onlyOkAndKonecAnswer();

private:
    // Opens the dialog modally and runs act inside it; true when it was left with "OK".
    bool open(const std::function<void(QWidget*)>& act);
    template <class T = QWidget> static T* child(QWidget* d, const char* name)
    {
        return d->findChild<T*>(QString::fromUtf8(name));
    }
    static bool checked(QWidget* d, const char* name)
    {
        return child<QRadioButton>(d, name)->isChecked();
    }
    static void click(QWidget* d, const char* name)
    {
        QTest::mouseClick(child(d, name), Qt::LeftButton);
    }

    QTemporaryDir m_temp;
    std::unique_ptr<AssetStore> m_assets;
    MemoryStore m_store;
    RecordingSound m_sound;
    MersenneRandom m_random{1};
    FakeClock m_clock;
    std::optional<GameSettings> m_answer;
    std::unique_ptr<QWidget> m_board;
    std::unique_ptr<frmNováHra> m_dialog;
};

void NewGameTest::init()
{
    if (skipOffMainScreen({"firstRunOnEmptyStore"}))
        QSKIP("the same on every screen");
    m_assets = std::make_unique<AssetStore>(m_temp.path());
    m_store = MemoryStore();
    m_board = std::make_unique<QWidget>();
    m_board->setGeometry(QGuiApplication::primaryScreen()->geometry());
    m_board->show();
    m_dialog = std::make_unique<frmNováHra>(
        m_board.get(), Services{m_store, m_random, m_clock, *m_assets, m_sound});
}

void NewGameTest::cleanup()
{
    m_dialog.reset();
    m_board.reset();
    m_assets->RemoveAssetTree();
    for (QWidget* w : QApplication::topLevelWidgets())
        QVERIFY(!w->isVisible());
}

bool NewGameTest::open(const std::function<void(QWidget*)>& act)
{
    onNextModal(act, QStringLiteral("frmNováHra"));
    m_answer = m_dialog->ask();
    return m_answer.has_value();
}

// First run: one player, 10 x 8, the first picture set, wood, whole move; empty names, the
// second box disabled in the button-face colour, the first one focused; the screen's
// resolution shown, the client area centred on the screen (not clamped where it is taller),
// and the assets being unpacked.
void NewGameTest::firstRunOnEmptyStore()
{
    QVERIFY(!open([this](QWidget* d) {
        for (const char* name :
             {"optHráči_0", "optPočetKaret_0", "optLíc_1", "optRub_0", "optOtočení_3"})
            QVERIFY2(checked(d, name), name);
        QCOMPARE(d->findChildren<QRadioButton*>().size(), 2 + 3 + 6 + 6 + 4);
        auto* name2 = child<QLineEdit>(d, "txtHráč2");
        QVERIFY(child<QLineEdit>(d, "txtHráč1")->text().isEmpty() && name2->text().isEmpty());
        QVERIFY(!name2->isEnabled());
        QCOMPARE(name2->palette().color(QPalette::Disabled, QPalette::Base),
                 name2->palette().color(QPalette::Active, QPalette::Button));
        QTRY_COMPARE(QApplication::focusWidget(), child(d, "txtHráč1"));
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        QCOMPARE(child<QLabel>(d, "Label3")->text(),
                 QStringLiteral("%1x%2").arg(screen.width()).arg(screen.height()));
        const QPoint place = child(d, "KlientskáOblast")->mapToGlobal(QPoint());
        QCOMPARE(place, QPoint(int(std::lround((screen.width() * 15.0 - 5460) / 30)),
                               int(std::lround((screen.height() * 15.0 - 7245) / 30))));
        QTRY_VERIFY(QFileInfo::exists(m_temp.filePath(QStringLiteral("Lotaro/zvuky/3.wav"))));
        d->close();
    }));
}

// The stored choice is shown; the second name box follows the number of players (on the button
// as on its caption) and keeps its text; names take six characters; "OK" stores the choice and
// answers what it means.
void NewGameTest::choiceShownChangedAndStored()
{
    saveChoice(m_store, OptionChoice{1, 2, 4, 5, 1, QStringLiteral("Eva"), QStringLiteral("Ota")});
    m_store.writes.clear();
    m_store.syncs = 0;
    QVERIFY(open([](QWidget* d) {
        for (const char* name :
             {"optHráči_1", "optPočetKaret_2", "optLíc_4", "optRub_5", "optOtočení_1"})
            QVERIFY2(checked(d, name), name);
        auto* name1 = child<QLineEdit>(d, "txtHráč1");
        auto* name2 = child<QLineEdit>(d, "txtHráč2");
        QCOMPARE(name2->text(), QStringLiteral("Ota"));
        QVERIFY(name2->isEnabled());
        QCOMPARE(name2->palette().color(QPalette::Active, QPalette::Base), QColor(Qt::white));
        click(d, "lblHráči_0");
        QVERIFY(!name2->isEnabled());
        QTest::mouseClick(child(d, "optHráči_1"), Qt::LeftButton, {}, QPoint(6, 8));
        QVERIFY(name2->isEnabled());
        click(d, "lblHráči_0");
        for (const char* caption : {"lblPočetKaret_1", "lblRub_3", "lblOtočení_2"})
            click(d, caption);
        name1->clear();
        for (const QChar ch : QStringLiteral("Přemysl Oráč")) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(ch));
            QApplication::sendEvent(name1, &press);
        }
        QCOMPARE(name1->text(), QStringLiteral("Přemys"));
        auto* ok = child<ActionLabel>(d, "lblOK");
        hoverOver(ok);
        QTest::mouseClick(ok, Qt::LeftButton);
        QVERIFY(!ok->isHighlighted() && !d->isVisible());
    }));
    QCOMPARE(loadChoice(m_store),
             (OptionChoice{0, 1, 4, 3, 2, QStringLiteral("Přemys"), QStringLiteral("Ota")}));
    QCOMPARE(m_store.writes.size(), 7);
    QCOMPARE(m_store.syncs, 1);
    QCOMPARE(m_answer->twoPlayers, false);
    QCOMPARE(m_answer->columns, 8);
    QCOMPARE(m_answer->faceSet, QStringLiteral("4"));
    QCOMPARE(m_answer->backSet, QStringLiteral("4"));
    QCOMPARE(m_answer->flipDelay, 3000);
    QCOMPARE(m_answer->player1Name, QStringLiteral("Přemys"));
    QCOMPARE(m_answer->cardSize, detectCardSize(Screen::metrics()));
}

void NewGameTest::captionsSelectTheirButtons_data()
{
    QTest::addColumn<QString>("caption");
    for (const char* name :
         {"lblLíc_5", "lblRub_5", "lblPočetKaret_2", "lblOtočení_0", "lblHráči_1"})
        QTest::newRow(name) << QString::fromUtf8(name);
}

// A caption selects its button, the only one of its group, and keeps its own look.
void NewGameTest::captionsSelectTheirButtons()
{
    QFETCH(QString, caption);
    open([&](QWidget* d) {
        auto* label = d->findChild<ActionLabel*>(caption);
        hoverOver(label);
        QTest::mouseClick(label, Qt::LeftButton);
        QVERIFY(label->isHighlighted());
        const QString button = u"opt" + caption.mid(3);
        QVERIFY(d->findChild<QRadioButton*>(button)->isChecked());
        int inGroup = 0;
        for (QRadioButton* b : d->findChildren<QRadioButton*>())
            inGroup += b->objectName().startsWith(button.chopped(1)) && b->isChecked();
        QCOMPARE(inGroup, 1);
        d->close();
    });
}

// A caption's look moves within its group only; "OK" and "Konec" keep theirs side by side;
// the bare background clears every look, a button or name box none.
void NewGameTest::hoverLooks()
{
    open([](QWidget* d) {
        const auto on = [d](const char* name) {
            return child<ActionLabel>(d, name)->isHighlighted();
        };
        for (const char* name :
             {"lblRub_2", "lblRub_1", "lblLíc_3", "lblOK", "lblKonec", "optRub_4", "txtHráč1"})
            hoverOver(child(d, name));
        QVERIFY(!on("lblRub_2"));
        QVERIFY(on("lblRub_1") && on("lblLíc_3") && on("lblOK") && on("lblKonec"));
        QVERIFY(child<ActionLabel>(d, "lblRub_1")->font().bold());
        QWidget* client = child(d, "KlientskáOblast");
        const QPoint bare(client->width() - 3, client->height() - 3);
        QVERIFY(!client->childAt(bare));
        hoverOver(client, bare);
        QVERIFY(!on("lblOK") && !on("lblKonec") && !on("lblRub_1") && !on("lblLíc_3"));
        d->close();
    });
}

// Opened again, the dialog shows the last "OK" where it stood, without reading the store or
// unpacking again.
void NewGameTest::laterOpeningsKeepTheChoice()
{
    open([](QWidget* d) {
        click(d, "lblLíc_0");
        click(d, "lblOK");
    });
    const QPoint place = m_dialog->pos();
    m_assets->finishUnpacking();
    QVERIFY(QFile::remove(m_temp.filePath(QStringLiteral("Lotaro/rub/1.jpg"))));
    saveChoice(m_store, OptionChoice{1, 2, 4, 5, 1, QStringLiteral("X"), QStringLiteral("Y")});
    QVERIFY(open([](QWidget* d) {
        QVERIFY(checked(d, "optLíc_0") && checked(d, "optHráči_0"));
        QVERIFY(child<QLineEdit>(d, "txtHráč1")->text().isEmpty());
        click(d, "lblOK");
    }));
    QCOMPARE(m_dialog->pos(), place);
    QVERIFY(!QFileInfo::exists(m_temp.filePath(QStringLiteral("Lotaro/rub/1.jpg"))));
}

void NewGameTest::onlyOkAndKonecAnswer_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("ok");
    QTest::newRow("Konec") << "lblKonec" << false;
    QTest::newRow("closed by the desktop") << "" << false;
    QTest::newRow("keys, then OK") << "lblOK" << true;
}

// "Konec" and any other close answer that the player quits, and write nothing; neither Escape
// nor Enter stands for an action.
void NewGameTest::onlyOkAndKonecAnswer()
{
    QFETCH(QString, how);
    QTEST(open([&](QWidget* d) {
              for (Qt::Key key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter}) {
                  QTest::keyClick(d, key);
                  QVERIFY(d->isVisible());
              }
              if (how.isEmpty())
                  d->close();
              else
                  QTest::mouseClick(d->findChild<QWidget*>(how), Qt::LeftButton);
          }),
          "ok");
    QCOMPARE(m_store.writes.isEmpty(), how != u"lblOK");
}

LOTARO_TEST_MAIN(NewGameTest, QApplication)
#include "tst_newgame.moc"
