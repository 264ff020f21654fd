#include "frmLotaro.h"

#include "core/AssetPaths.h"
#include "core/AssetStore.h"
#include "windows/frmAbout.h"
#include "windows/frmNápověda.h"
#include "windows/frmSkoncit.h"
#include "windows/frmKonec2.h"
#include "windows/frmSíň.h"
#include "windows/frmkonec1.h"
#include "ui/ActionLabel.h"
#include "ui/CardPicture.h"
#include "core/Deal.h"
#include "core/GameClock.h"
#include "core/RunState.h"
#include "ui/WindowLook.h"
#include "core/Clock.h"
#include "ui/Screen.h"
#include "core/SettingsStore.h"
#include "ui/TitleBar.h"
#include "core/Twips.h"
#include "core/GameSettings.h"
#include "windows/frmNováHra.h"
#include "core/SoundPlayer.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QTimer>

namespace {
const std::array<QString, 6> menuCaptions = {
    QStringLiteral("Nová hra"), QStringLiteral("Zvuky"),      QStringLiteral("Síň slávy"),
    QStringLiteral("Nápověda"), QStringLiteral("O programu"), QStringLiteral("Konec"),
};

QLabel* panelLabel(QWidget* parent, const char* name, double pointSize, int widthTwips = 0,
                   int heightTwips = 0)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromUtf8(name));
    label->setFont(WindowLook::comicFont(pointSize, true));
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    if (widthTwips > 0) {
        // Fixed-size labels wrap their text, so "Otočené:" and the count stand on two lines.
        label->setWordWrap(true);
        label->resize(Twips::toPixels(widthTwips), Twips::toPixels(heightTwips));
    }
    label->hide();
    return label;
}
} // namespace

frmLotaro::frmLotaro(RunState& run, const Services& services)
    : QWidget(nullptr), m_run(run), m_services(services)
{
    setObjectName(QStringLiteral("frmLotaro"));
    setWindowTitle(QStringLiteral("Lotaro"));
    setFont(WindowLook::comicFont(8.25));
    setMouseTracking(true);
    buildControls();
}

frmLotaro::~frmLotaro() = default;

void frmLotaro::buildControls()
{
    for (int k = 0; k < 6; ++k) {
        auto* label = new ActionLabel(menuCaptions[k], this);
        label->setObjectName(QStringLiteral("lblNabídka_") + QString::number(k));
        label->setProperty("index", k);
        label->setFont(WindowLook::comicFont(9.75));
        label->hide();
        label->setFitsText(true, Twips::toPixels(270));
        connect(label, &ActionLabel::clicked, this, [this, k] { menuAction(k); });
        connect(label, &ActionLabel::hovered, this, [this, k] { m_menu.hover(k); });
        lblNabídka[k] = label;
    }
    m_menu = HoverGroup({lblNabídka.begin(), lblNabídka.end()});
    lblHráč1 = panelLabel(this, "lblHráč1", 15.75);
    lblHráč2 = panelLabel(this, "lblHráč2", 15.75);
    lblSkóre1 = panelLabel(this, "lblSkóre1", 9.75, 1095, 615);
    lblSkóre2 = panelLabel(this, "lblSkóre2", 9.75, 1095, 375);
    lblČas = panelLabel(this, "lblČas", 9.75, 1095, 735);

    createCard(0);
    imgLotaro[0]->resize(Twips::toPixels(1500), Twips::toPixels(1500));
    imgRub = new CardPicture(this);
    imgRub->setObjectName(QStringLiteral("imgRub"));
    imgRub->hide();

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, [this] { Timer1Tick(); });
    Timer2 = new QTimer(this);
    Timer2->setObjectName(QStringLiteral("Timer2"));
    connect(Timer2, &QTimer::timeout, this, [this] { Timer2Tick(); });
}

void frmLotaro::load()
{
    SetTitleBar(this, false);
    if (!loadSoundOn(m_services.store)) {
        QFont f = lblNabídka[1]->font();
        f.setStrikeOut(true);
        lblNabídka[1]->setFont(f);
    }
    // The board covers the whole screen, the desktop's panels too: a window manager fits a
    // maximised window into the area its panels leave, but gives a full-screen window the
    // screen. Without a window manager the window keeps its size hint, so it is given the
    // screen first.
    setGeometry(Screen::geometry());
    // The tile lives in a hidden picture on the board, where every dialog takes it from.
    auto* picPozadí = new QLabel(this);
    picPozadí->setObjectName(QStringLiteral("picPozadí"));
    picPozadí->hide();
    picPozadí->setPixmap(WindowLook::backgroundTile());
    picPozadí->adjustSize();
    WindowLook::paintBackground(this, picPozadí->pixmap());
    showFullScreen();
    Screen::waitUntilExposed(this);
    if (!showNewGameDialog())
        return;
    DealCards();
}

bool frmLotaro::soundOn() const
{
    return !lblNabídka[1]->font().strikeOut();
}

void frmLotaro::setPanelEnabled(bool enabled)
{
    for (ActionLabel* label : lblNabídka)
        label->setEnabled(enabled);
    for (QLabel* label : {lblHráč1, lblSkóre1, lblHráč2, lblSkóre2, lblČas})
        label->setEnabled(enabled);
}

void frmLotaro::menuAction(int k)
{
    setPanelEnabled(false);
    lblNabídka[k]->setHighlighted(false);
    switch (k) {
    case 0:
        removeCards();
        imgLotaro[0]->hide();
        imgLotaro[0]->setEnabled(true);
        m_state.cardsUp = 0;
        Timer1->stop();
        Timer2->stop();
        if (!showNewGameDialog())
            return;
        DealCards();
        break;
    case 1: {
        QFont f = lblNabídka[1]->font();
        f.setStrikeOut(!f.strikeOut());
        lblNabídka[1]->setFont(f);
        saveSoundOn(m_services.store, !f.strikeOut());
        break;
    }
    case 2:
        // Opened from the menu, the hall of fame marks no new entry.
        m_run.fameAfterGame = false;
        showHallOfFame();
        m_run.fameAfterGame = true;
        break;
    case 3: {
        frmNápověda help(this, m_run.settings.cardSize);
        help.exec();
        break;
    }
    case 4: {
        frmAbout about(this, m_run.settings.cardSize);
        about.exec();
        break;
    }
    case 5:
        close();
        break;
    default:
        break;
    }
    if (m_run.ending)
        return;
    setPanelEnabled(true);
}

void frmLotaro::mouseMoveEvent(QMouseEvent* event)
{
    // Only the bare window clears the menu's look; its labels and cards do not.
    if (childAt(event->position().toPoint()) == nullptr)
        m_menu.reset();
    QWidget::mouseMoveEvent(event);
}

void frmLotaro::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        showMinimized();
        return;
    }
    QWidget::keyPressEvent(event);
}

void frmLotaro::closeEvent(QCloseEvent* event)
{
    if (m_run.ending) {
        event->accept();
        return;
    }
    m_run.quitConfirmed = false;
    m_run.quitConfirmed = confirmQuit();
    if (!m_run.quitConfirmed) {
        event->ignore();
        return;
    }
    endRun();
    event->accept();
}

void frmLotaro::endRun()
{
    if (m_run.ending)
        return;
    m_services.assets.RemoveAssetTree();
    endProgram();
    close();
}

void frmLotaro::Timer1Tick()
{
    lblČas->setText(GameClock::caption(m_state.startTime, m_services.clock.currentTime()));
}

void frmLotaro::cardClick(int index)
{
    const TurnLogic::Outcome o =
        m_logic.click(index, Timer2->isActive(), m_services.clock.currentTime());
    if (o.ignored)
        return;
    if (o.startClock)
        Timer1->start();
    mirror(o.changed);
    renderPanel();
    if (o.sound != 0 && soundOn())
        m_services.sound.PlaySoundFile(AssetPaths::sound(m_run.tempPath, o.sound));
    if (o.gameOver) {
        // The next game is dealt inside this click; its board takes clicks at once.
        FinishGame();
        return;
    }
    if (o.startFlipTimer)
        Timer2->start();
}

void frmLotaro::Timer2Tick()
{
    mirror(m_logic.flipBack());
    Timer2->stop();
}

void frmLotaro::FinishGame()
{
    setPanelEnabled(false);
    mirror(m_logic.removeLastPair());
    if (m_logic.twoPlayers()) {
        frmKonec2 result(this,
                         {lblHráč1->text(), lblHráč2->text(), lblSkóre1->text(), lblSkóre2->text(),
                          m_state.score1, m_state.score2, [this] { playEndSound(); }});
        result.exec();
    } else {
        Timer1->stop();
        lblSkóre1->setText(DealText::turnedCaption(m_state.turnedCount));
        const int time =
            GameClock::elapsedSeconds(m_state.startTime, m_services.clock.currentTime());
        m_run.fame.placeCandidate(m_run.settings.sizeClass, time, lblHráč1->text(),
                                  m_state.turnedCount, m_services.clock.currentDate());
        {
            frmkonec1 result(this, m_run.fame, m_run.settings.sizeClass);
            result.exec();
        }
        if (m_run.ending)
            return;
        if (m_run.fame.newRecord)
            showHallOfFame();
    }
    if (m_run.ending)
        return;
    menuAction(0);
}

void frmLotaro::showHallOfFame()
{
    frmSíň fame(this, m_run.fame, m_services.store, m_run.settings.cardSize, m_run.fameAfterGame,
                [this] { playEndSound(); });
    fame.exec();
}

void frmLotaro::playEndSound()
{
    if (soundOn())
        m_services.sound.PlaySoundFile(AssetPaths::sound(m_run.tempPath, 3));
}

bool frmLotaro::showNewGameDialog()
{
    if (!m_newGame)
        m_newGame = new frmNováHra(
            this, m_run, m_services, [this] { m_run.fame.loadHallOfFame(m_services.store); },
            [this] { endProgram(); });
    return m_newGame->showModal();
}

bool frmLotaro::confirmQuit()
{
    frmSkoncit confirm(this, m_run.settings.cardSize, m_run.quitConfirmed);
    confirm.exec();
    return m_run.quitConfirmed;
}

void frmLotaro::endProgram()
{
    m_run.ending = true;
    Timer1->stop();
    Timer2->stop();
    // Leaves every modal loop that may still be running, not only the main one.
    QCoreApplication::exit(0);
}
