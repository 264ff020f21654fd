#include "frmLotaro.h"

#include "core/AssetStore.h"
#include "core/Clock.h"
#include "core/Deal.h"
#include "core/GameClock.h"
#include "core/GameEnd.h"
#include "core/SettingsStore.h"
#include "core/SoundPlayer.h"
#include "ui/FramedDialog.h"
#include "ui/ModalClickGuard.h"
#include "ui/Screen.h"
#include "ui/TitleBar.h"
#include "ui/WindowLook.h"
#include "windows/frmAbout.h"
#include "windows/frmKonec2.h"
#include "windows/frmNeexistuje.h"
#include "windows/frmNeuloženo.h"
#include "windows/frmNováHra.h"
#include "windows/frmNápověda.h"
#include "windows/frmSkoncit.h"
#include "windows/frmSíň.h"
#include "windows/frmkonec1.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimer>

#include <functional>

frmLotaro::frmLotaro(const Services& services)
    : QWidget(nullptr), m_services(services), m_clickGuard(new ModalClickGuard(this)),
      m_view(this, m_clickGuard->guarded([this](int k) { cardClick(k); }),
             m_clickGuard->guarded([this](MenuItem item) { menuAction(item); }))
{
    setObjectName(QStringLiteral("frmLotaro"));
    setWindowTitle(QStringLiteral("Lotaro"));
    setFont(WindowLook::comicFont(8.25));
    setMouseTracking(true);
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, [this] { Timer1Tick(); });
    Timer2 = new QTimer(this);
    Timer2->setObjectName(QStringLiteral("Timer2"));
    connect(Timer2, &QTimer::timeout, this, [this] { Timer2Tick(); });
}

frmLotaro::~frmLotaro() = default;

void frmLotaro::load()
{
    SetTitleBar(this, false);
    m_view.showSoundOn(loadSoundOn(m_services.store));
    // The board covers the whole screen, the desktop's panels too: a window manager fits a
    // maximised window into the area its panels leave, but gives a full-screen window the
    // screen. Without a window manager the window keeps its size hint, so it is given the
    // screen first.
    setGeometry(Screen::geometry());
    WindowLook::paintBackground(this, m_view.backgroundTile());
    showFullScreen();
    if (!showNewGameDialog())
        return;
    // Opening the sound output takes a while, which the first card would otherwise wait for; no
    // sound plays before the first deal, and loaded with the dialog it would delay the dialog.
    if (soundOn())
        m_services.sound.prepare();
    DealCards();
}

void frmLotaro::menuAction(MenuItem item)
{
    m_view.setPanelEnabled(false);
    m_view.clearMenuLook(item);
    switch (item) {
    case MenuItem::NewGame:
        m_view.removeCards();
        Timer1->stop();
        Timer2->stop();
        if (showNewGameDialog())
            DealCards();
        break;
    case MenuItem::Sound:
        m_view.showSoundOn(!soundOn());
        if (!saveSoundOn(m_services.store, soundOn()))
            reportUnsaved(QStringLiteral("Nastavení"));
        if (soundOn())
            m_services.sound.prepare();
        break;
    case MenuItem::HallOfFame: {
        // Opened from the menu, the hall of fame marks no new entry.
        HallOfFame fame;
        fame.loadHallOfFame(m_services.store);
        showHallOfFame(fame, std::nullopt);
        break;
    }
    case MenuItem::Help:
        openDialog(frmNápověda(this));
        break;
    case MenuItem::About:
        openDialog(frmAbout(this));
        break;
    case MenuItem::Quit:
        close();
        break;
    }
    if (!m_ending)
        m_view.setPanelEnabled(true);
}

void frmLotaro::DealCards()
{
    setCursor(Qt::WaitCursor);
    const GameSettings& s = m_settings;
    const ScreenMetrics screen = Screen::metrics(size());
    const BoardLayout layout =
        computeBoardLayout(screen.widthTwips, screen.heightTwips, s.columns, s.rows, s.cardSize);
    m_view.layOut(layout, s);
    Timer2->setInterval(s.flipDelay);

    const QStringList values = shuffleCardValues(s.columns * s.rows, m_services.random);
    const int devicePixels = m_view.cardDevicePixels();
    const auto face = [&](const QString& value) {
        return m_services.assets.facePath(s.faceSet, value, devicePixels);
    };
    if (!m_view.showPictures(values, face, m_services.assets.backPath(s.backSet, devicePixels))) {
        // The player is told, and chooses again.
        unsetCursor();
        m_view.setPanelEnabled(false);
        openDialog(frmNeexistuje(this));
        if (!m_ending)
            menuAction(MenuItem::NewGame);
        return;
    }
    m_logic.deal(values, s.twoPlayers, s.flipDelay);
    m_view.highlightPlayer(true);
    unsetCursor();
}

void frmLotaro::mouseMoveEvent(QMouseEvent* event)
{
    // Only the bare window clears the menu's look; its labels and cards do not.
    if (childAt(event->position().toPoint()) == nullptr)
        m_view.resetMenuLook();
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
    // With a dialog open, the desktop's close of the one window there is closes the dialog,
    // which answers it as it answers any close.
    if (!m_ending && FramedDialog::closeTopmost())
        return event->ignore();
    // Every way of closing the board asks first, until the run has begun to end.
    const bool quitConfirmed = m_ending || openDialog(frmSkoncit(this)) == QDialog::Accepted;
    if (quitConfirmed)
        endRun();
    event->setAccepted(quitConfirmed);
}

void frmLotaro::endRun()
{
    if (m_ending)
        return;
    // A new record shown and not yet confirmed is stored before anything else.
    m_pendingRecord.storeAtEnd(m_services.store);
    m_services.assets.RemoveAssetTree();
    m_ending = true;
    Timer1->stop();
    Timer2->stop();
    // Leaves every modal loop that may still be running, not only the main one.
    QCoreApplication::exit(0);
    close();
}

void frmLotaro::Timer1Tick()
{
    m_view.setClock(GameClock::caption(gameState().startTime, m_services.clock.currentTime()));
}

void frmLotaro::cardClick(int index)
{
    const TurnLogic::Outcome o =
        m_logic.click(index, Timer2->isActive(), m_services.clock.currentTime());
    if (o.ignored)
        return;
    if (o.startClock)
        Timer1->start();
    m_view.mirror(m_logic, o.changed);
    m_view.renderPanel(m_logic);
    if (o.sound)
        playSound(*o.sound);
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
    m_view.mirror(m_logic, m_logic.flipBack());
    Timer2->stop();
}

void frmLotaro::FinishGame()
{
    m_view.setPanelEnabled(false);
    m_view.mirror(m_logic, m_logic.removeLastPair());
    const GameState& s = gameState();
    if (!m_logic.twoPlayers()) {
        Timer1->stop();
        m_view.renderPanel(m_logic);
    }
    const GameEnd end = decideGameEnd(s, m_logic.twoPlayers(), m_settings.sizeClass,
                                      m_view.playerText(1), m_services.clock.currentDate(),
                                      m_services.clock.currentTime(), m_services.store);
    const std::function<void()> endSound = [this] { playSound(GameSound::End); };
    if (end.twoPlayers) {
        frmKonec2 result(this, {m_view.playerText(1), m_view.playerText(2), m_view.scoreText(1),
                                m_view.scoreText(2), s.score1, s.score2,
                                end.resultPlaysEndSound() ? endSound : nullptr});
        result.exec();
    } else {
        m_pendingRecord.hold(end.record);
        // However the result window is closed (its "OK", the desktop), the game goes on.
        frmkonec1(this, end.result).exec();
        if (!m_ending && end.showsHallOfFame())
            showHallOfFame(end.tables, end.place);
    }
    if (!m_ending)
        menuAction(MenuItem::NewGame);
}

void frmLotaro::showHallOfFame(const HallOfFame& fame, std::optional<int> newPlace)
{
    std::optional<frmSíň::Place> mark;
    if (newPlace && m_pendingRecord.record())
        mark = frmSíň::Place{m_pendingRecord.record()->sizeClass, *newPlace};
    bool cleared = false;
    {
        frmSíň window(this, fame, mark,
                      mark ? std::function<void()>([this] { playSound(GameSound::End); })
                           : nullptr);
        openDialog(window);
        cleared = window.cleared();
    }
    if (m_ending)
        return; // the end of the run has stored what was pending
    if (!m_pendingRecord.storeTables(m_services.store, cleared))
        reportUnsaved(QStringLiteral("Síň slávy"));
}

void frmLotaro::reportUnsaved(const QString& what)
{
    openDialog(
        frmNeuloženo(this, what, m_services.store.fileName(), m_services.store.failureReason()));
}

int frmLotaro::openDialog(QDialog& dialog)
{
    WindowLook::placeDialog(&dialog, m_settings.cardSize);
    return dialog.exec();
}

void frmLotaro::playSound(GameSound sound)
{
    if (soundOn())
        m_services.sound.PlaySoundFile(m_services.assets.soundPath(sound));
}

bool frmLotaro::showNewGameDialog()
{
    if (!m_newGame)
        m_newGame = new frmNováHra(this, m_services);
    std::optional<GameSettings> next = m_newGame->ask();
    if (!next) {
        // "Konec", or the dialog closed by the desktop: the run ends the clean way.
        endRun();
        return false;
    }
    m_settings = *next;
    if (!m_newGame->choiceStored())
        reportUnsaved(QStringLiteral("Nastavení"));
    return true;
}
