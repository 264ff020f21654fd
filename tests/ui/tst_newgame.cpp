#include "FakeClock.h"
#include "Hover.h"
#include "MemoryStore.h"
#include "Modal.h"
#include "NewGame.h"
#include "RecordingSound.h"
#include "TestMain.h"

#include "core/AssetStore.h"
#include "core/GameSettings.h"
#include "core/RandomSource.h"
#include "ui/ActionLabel.h"
#include "ui/WindowLook.h"
#include "windows/frmNováHra.h"

#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScreen>

#include <memory>

namespace {
// Types any text, letters with diacritics included, as key presses carrying that text.
void typeText(QWidget* w, const QString& text)
{
    for (const QChar ch : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(ch));
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(w, &press);
        QApplication::sendEvent(w, &release);
    }
}
} // namespace

// The new-game dialog, driven as a player would.
class NewGameTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void firstRunOnEmptyStore();
    void storedChoiceIsShown();
    void captionsSelectTheirButtons_data();
    void captionsSelectTheirButtons();
    void secondNameBox();
    void namesAreSixCharactersAtMost();
    void hoverLooks();
    void okStoresAndFillsTheSettings();
    void laterOpeningsKeepTheChoice();
    void konecEndsWithoutWriting();
    void platformCloseStillCleansUp();
    void noKeyStandsForAnAction();
    void placement();
    void textureCoversTheWindow();

private:
    // Opens the dialog modally and runs act inside it; true when it was left with "OK".
    bool open(const std::function<void(QWidget*)>& act);
    QRadioButton* button(QWidget* d, const QString& name)
    {
        return d->findChild<QRadioButton*>(name);
    }
    ActionLabel* action(QWidget* d, const QString& name)
    {
        return d->findChild<ActionLabel*>(name);
    }

    std::unique_ptr<QTemporaryDir> m_temp;
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
    m_temp = std::make_unique<QTemporaryDir>();
    m_assets = std::make_unique<AssetStore>(m_temp->path());
    m_store = MemoryStore();
    m_answer.reset();
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
    onNextModal(act, {}, QStringLiteral("frmNováHra"));
    m_answer = m_dialog->ask();
    return m_answer.has_value();
}

// First run: one player, 10 x 8, the first picture set, wood, whole move; empty names, the
// second box disabled in the button-face colour; the first box has the focus.
void NewGameTest::firstRunOnEmptyStore()
{
    open([this](QWidget* d) {
        for (const char* name :
             {"optHráči_0", "optPočetKaret_0", "optLíc_1", "optRub_0", "optOtočení_3"})
            QVERIFY2(button(d, QString::fromUtf8(name))->isChecked(), name);
        QCOMPARE(d->findChildren<QRadioButton*>().size(), 2 + 3 + 6 + 6 + 4);
        auto* name1 = d->findChild<QLineEdit*>(QStringLiteral("txtHráč1"));
        auto* name2 = d->findChild<QLineEdit*>(QStringLiteral("txtHráč2"));
        QVERIFY(name1->text().isEmpty() && name2->text().isEmpty());
        QVERIFY(!name2->isEnabled());
        QCOMPARE(name2->palette().color(QPalette::Disabled, QPalette::Base),
                 name2->palette().color(QPalette::Active, QPalette::Button));
        QTRY_COMPARE(QApplication::focusWidget(), name1);
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        QCOMPARE(d->findChild<QLabel*>(QStringLiteral("Label3"))->text(),
                 QStringLiteral("%1x%2").arg(screen.width()).arg(screen.height()));
        // The run is set up with the dialog: the assets are being unpacked.
        QTRY_VERIFY(QFileInfo::exists(m_assets->tempPath() + QStringLiteral("Lotaro/zvuky/3.wav")));
    });
}

void NewGameTest::storedChoiceIsShown()
{
    saveChoice(m_store, OptionChoice{1, 2, 4, 5, 1, QStringLiteral("Eva"), QStringLiteral("Ota")});
    open([this](QWidget* d) {
        for (const char* name :
             {"optHráči_1", "optPočetKaret_2", "optLíc_4", "optRub_5", "optOtočení_1"})
            QVERIFY2(button(d, QString::fromUtf8(name))->isChecked(), name);
        auto* name2 = d->findChild<QLineEdit*>(QStringLiteral("txtHráč2"));
        QCOMPARE(name2->text(), QStringLiteral("Ota"));
        QVERIFY(name2->isEnabled());
        QCOMPARE(name2->palette().color(QPalette::Active, QPalette::Base), QColor(Qt::white));
    });
}

void NewGameTest::captionsSelectTheirButtons_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("button");
    QTest::newRow("Vlastní") << QStringLiteral("lblLíc_5") << QStringLiteral("optLíc_5");
    QTest::newRow("Zeď") << QStringLiteral("lblRub_5") << QStringLiteral("optRub_5");
    QTest::newRow("6 x 5") << QStringLiteral("lblPočetKaret_2")
                           << QStringLiteral("optPočetKaret_2");
    QTest::newRow("1 sec") << QStringLiteral("lblOtočení_0") << QStringLiteral("optOtočení_0");
    QTest::newRow("2 hráči") << QStringLiteral("lblHráči_1") << QStringLiteral("optHráči_1");
}

// A caption selects its button like a click on the button, and keeps its own look.
void NewGameTest::captionsSelectTheirButtons()
{
    QFETCH(QString, caption);
    QFETCH(QString, button);
    open([&](QWidget* d) {
        ActionLabel* label = action(d, caption);
        hoverOver(label);
        QVERIFY(label->isHighlighted());
        QTest::mouseClick(label, Qt::LeftButton);
        QVERIFY(this->button(d, button)->isChecked());
        QVERIFY(label->isHighlighted());
        const QString group = button.left(button.lastIndexOf(u'_'));
        int checked = 0;
        for (QRadioButton* b : d->findChildren<QRadioButton*>())
            checked += b->objectName().startsWith(group + u'_') && b->isChecked();
        QCOMPARE(checked, 1);
    });
}

// The second name box follows the number of players; its text stays and is stored.
void NewGameTest::secondNameBox()
{
    open([this](QWidget* d) {
        auto* name2 = d->findChild<QLineEdit*>(QStringLiteral("txtHráč2"));
        // On the button itself, as well as on its caption.
        QTest::mouseClick(button(d, QStringLiteral("optHráči_1")), Qt::LeftButton, {},
                          QPoint(6, 8));
        QVERIFY(name2->isEnabled());
        QCOMPARE(name2->palette().color(QPalette::Active, QPalette::Base), QColor(Qt::white));
        QTest::keyClicks(name2, QStringLiteral("Ota"));
        QTest::mouseClick(action(d, QStringLiteral("lblHráči_0")), Qt::LeftButton);
        QVERIFY(!name2->isEnabled());
        QCOMPARE(name2->text(), QStringLiteral("Ota"));
        QTest::mouseClick(action(d, QStringLiteral("lblOK")), Qt::LeftButton);
    });
    QCOMPARE(m_store.values.value(SettingsKeys::section + u"/Hráč2"), QStringLiteral("Ota"));
    QCOMPARE(m_store.values.value(SettingsKeys::section + u"/DvaHráči"), QStringLiteral("0"));
    QCOMPARE(m_answer->player2Name, QStringLiteral("Ota"));
}

void NewGameTest::namesAreSixCharactersAtMost()
{
    open([](QWidget* d) {
        auto* name1 = d->findChild<QLineEdit*>(QStringLiteral("txtHráč1"));
        typeText(name1, QStringLiteral("Přemysl Oráč"));
        QCOMPARE(name1->text(), QStringLiteral("Přemys"));
    });
}

// A caption's look moves within its group only; "OK" and "Konec" keep theirs side by side;
// the bare background clears every look, a button or name box none.
void NewGameTest::hoverLooks()
{
    open([this](QWidget* d) {
        const auto on = [d](const char* name) {
            return d->findChild<ActionLabel*>(QString::fromUtf8(name))->isHighlighted();
        };
        const auto over = [d](const char* name) {
            QWidget* w = d->findChild<QWidget*>(QString::fromUtf8(name));
            hoverOver(w);
        };
        over("lblRub_2");
        QVERIFY(on("lblRub_2"));
        QVERIFY(d->findChild<ActionLabel*>(QStringLiteral("lblRub_2"))->font().bold());
        over("lblRub_1");
        QVERIFY(on("lblRub_1"));
        QVERIFY(!on("lblRub_2"));
        over("lblLíc_3");
        QVERIFY(on("lblLíc_3"));
        QVERIFY(on("lblRub_1"));
        over("lblOK");
        QVERIFY(on("lblOK"));
        over("lblKonec");
        QVERIFY(on("lblKonec"));
        QVERIFY(on("lblOK"));
        over("optRub_4");
        over("txtHráč1");
        QVERIFY(on("lblOK") && on("lblRub_1") && on("lblLíc_3"));
        QWidget* client = d->findChild<QWidget*>(QStringLiteral("KlientskáOblast"));
        const QPoint bare(client->width() - 3, client->height() - 3);
        QVERIFY(!client->childAt(bare));
        hoverOver(client, bare);
        QVERIFY(!on("lblOK"));
        QVERIFY(!on("lblKonec") && !on("lblRub_1") && !on("lblLíc_3"));
    });
}

void NewGameTest::okStoresAndFillsTheSettings()
{
    const bool ok = open([this](QWidget* d) {
        chooseCaption(d, QStringLiteral("lblPočetKaret_1"));
        chooseCaption(d, QStringLiteral("lblRub_3"));
        chooseCaption(d, QStringLiteral("lblOtočení_2"));
        QTest::keyClicks(d->findChild<QLineEdit*>(QStringLiteral("txtHráč1")),
                         QStringLiteral("Jan"));
        ActionLabel* okLabel = action(d, QStringLiteral("lblOK"));
        hoverOver(okLabel);
        QVERIFY(okLabel->isHighlighted());
        QTest::mouseClick(okLabel, Qt::LeftButton);
        QVERIFY(!okLabel->isHighlighted());
        QVERIFY(!d->isVisible());
    });
    QVERIFY(ok);
    QCOMPARE(m_answer->columns, 8);
    QCOMPARE(m_answer->sizeClass, 1);
    QCOMPARE(m_answer->backSet, QStringLiteral("4"));
    QCOMPARE(m_answer->flipDelay, 3000);
    QCOMPARE(m_answer->player1Name, QStringLiteral("Jan"));
    QCOMPARE(loadChoice(m_store), (OptionChoice{0, 1, 1, 3, 2, QStringLiteral("Jan"), QString()}));
    QCOMPARE(m_store.writes.size(), 7);
}

// Opened again, the dialog shows the last "OK" without reading the store or unpacking again.
void NewGameTest::laterOpeningsKeepTheChoice()
{
    open([](QWidget* d) {
        chooseCaption(d, QStringLiteral("lblLíc_0"));
        QTest::mouseClick(d->findChild<ActionLabel*>(QStringLiteral("lblOK")), Qt::LeftButton);
    });
    const QPoint place = m_dialog->pos();
    m_assets->finishUnpacking();
    QVERIFY(QFile::remove(m_assets->tempPath() + QStringLiteral("Lotaro/rub/1.jpg")));
    saveChoice(m_store, OptionChoice{1, 2, 4, 5, 1, QStringLiteral("X"), QStringLiteral("Y")});
    const bool ok = open([this](QWidget* d) {
        QVERIFY(button(d, QStringLiteral("optLíc_0"))->isChecked());
        QVERIFY(button(d, QStringLiteral("optHráči_0"))->isChecked());
        QVERIFY(d->findChild<QLineEdit*>(QStringLiteral("txtHráč1"))->text().isEmpty());
        QTest::mouseClick(action(d, QStringLiteral("lblOK")), Qt::LeftButton);
    });
    QVERIFY(ok);
    QCOMPARE(m_dialog->pos(), place);
    QVERIFY(!QFileInfo::exists(m_assets->tempPath() + QStringLiteral("Lotaro/rub/1.jpg")));
}

// "Konec" and any other close answer that the player quits, and write nothing.
void NewGameTest::konecEndsWithoutWriting()
{
    const bool ok = open([this](QWidget* d) {
        chooseCaption(d, QStringLiteral("lblRub_5"));
        QVERIFY(QFileInfo::exists(m_temp->filePath(QStringLiteral("Lotaro"))));
        QTest::mouseClick(action(d, QStringLiteral("lblKonec")), Qt::LeftButton);
    });
    QVERIFY(!ok);
    QVERIFY(m_store.writes.isEmpty());
}

void NewGameTest::platformCloseStillCleansUp()
{
    const bool ok = open([](QWidget* d) { d->close(); });
    QVERIFY(!ok);
}

void NewGameTest::noKeyStandsForAnAction()
{
    open([this](QWidget* d) {
        for (Qt::Key key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter}) {
            QTest::keyClick(d, key);
            QVERIFY(d->isVisible());
        }
        QTest::mouseClick(action(d, QStringLiteral("lblOK")), Qt::LeftButton);
    });
}

// The dialog's client area centres itself on the screen, also where it is taller than the
// screen; the other dialogs sit 0.6 card sizes left of the centre, 456 twips at 640 x 480.
void NewGameTest::placement()
{
    open([](QWidget* d) {
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        const QWidget* client = d->findChild<QWidget*>(QStringLiteral("KlientskáOblast"));
        QCOMPARE(client->size(), QSize(364, 483));
        const double left = (screen.width() * 15.0 - 5460) / 2;
        const double top = (screen.height() * 15.0 - 7245) / 2;
        const QPoint place = client->mapToGlobal(QPoint());
        QCOMPARE(place, QPoint(int(std::lround(left / 15)), int(std::lround(top / 15))));
        if (screen.height() == 480)
            QCOMPARE(place.y(), -2); // -22.5 twips, not clamped
    });
    QWidget probe(m_board.get(), Qt::Dialog);
    probe.resize(292, 92);
    WindowLook::placeDialog(&probe, 760);
    const int placed = probe.x();
    WindowLook::centreOnScreen(&probe);
    QCOMPARE(probe.x() - placed,
             int(std::lround(QGuiApplication::primaryScreen()->geometry().width() * 15.0 / 2 / 15 -
                             146)) -
                 placed);
    if (QGuiApplication::primaryScreen()->geometry().width() == 640) {
        QCOMPARE(placed, 144);    // (9600 - 4380 - 912) / 2 = 2154 twips
        QCOMPARE(probe.x(), 174); // (9600 - 4380) / 2 = 2610 twips: 456 twips further right
    }
}

// The tile is laid from the client area's origin at its own size, under the whole area.
void NewGameTest::textureCoversTheWindow()
{
    open([](QWidget* d) {
        const QWidget* client = d->findChild<QWidget*>(QStringLiteral("KlientskáOblast"));
        const QBrush brush = client->palette().brush(QPalette::Window);
        QCOMPARE(brush.style(), Qt::TexturePattern);
        QCOMPARE(brush.texture().size(), QSize(80, 79));
        QVERIFY(client->autoFillBackground());
        QVERIFY(qGray(brush.texture().toImage().pixel(40, 40)) > 150);
    });
    const QImage tile = WindowLook::backgroundTile().toImage();
    QWidget window;
    window.resize(250, 170);
    WindowLook::paintBackground(&window, WindowLook::backgroundTile());
    const QImage shown = window.grab().toImage();
    for (int y = 0; y < shown.height(); y += 7)
        for (int x = 0; x < shown.width(); x += 5)
            QCOMPARE(shown.pixel(x, y), tile.pixel(x % 80, y % 79));
}

LOTARO_TEST_MAIN(NewGameTest, QApplication)
#include "tst_newgame.moc"
