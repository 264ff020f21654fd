#pragma once

#include "core/GameSettings.h"
#include "core/HallOfFame.h"
#include "core/Services.h"
#include "core/TurnLogic.h"
#include "ui/BoardView.h"

#include <QWidget>

#include <optional>

class frmNováHra;
class ModalClickGuard;
class QTimer;

// The board window: covers the screen, shows the cards, the side panel and the menu, and opens
// every other window. It lives for the whole run, keeps the options of the game on the board
// and is the one place where the run ends.
class frmLotaro : public QWidget {
public:
    explicit frmLotaro(const Services& services);
    ~frmLotaro() override;

    // The start-up sequence: title bar off, sound switch, maximise, background, show, new-game
    // dialog, deal.
    void load();
    // The menu's actions by index: 0 new game, 1 sound, 2 hall of fame, 3 help, 4 about, 5 quit.
    void menuAction(int k);
    void DealCards();

    // Ends the run the way a confirmed "Konec" does: the unpacked tree goes first.
    void endRun();

    bool soundOn() const;
    const GameState& gameState() const { return m_logic.state(); }
    const GameSettings& settings() const { return m_settings; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void reportMissingSet();
    void Timer1Tick();
    void Timer2Tick();
    // A click on a card or a menu item, unless its press was the end of a double-click on a
    // dialog that has just closed.
    void boardClick(int k, bool card);
    void cardClick(int index);
    void FinishGame();
    void showHallOfFame(const HallOfFame& fame, std::optional<int> newPlace);
    void reportUnsaved(const QString& what);
    void playSound(int number);
    bool showNewGameDialog();

    Services m_services;
    GameSettings m_settings; // the answer of the last new-game dialog
    TurnLogic m_logic;
    bool m_ending = false;           // once set, nothing deals or opens a window any more
    frmNováHra* m_newGame = nullptr; // loaded once, then only hidden and shown
    // A result that entered the hall of fame and is not stored yet: the hall of fame's "OK"
    // stores it, and so does the end of the run.
    std::optional<RankedResult> m_pendingRecord;
    ModalClickGuard* m_clickGuard = nullptr; // a double-click on a dialog is no click here

    BoardView m_view;
    QTimer* Timer1 = nullptr;
    QTimer* Timer2 = nullptr;
};
