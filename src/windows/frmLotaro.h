#pragma once

#include "core/GameEnd.h"
#include "core/GameSettings.h"
#include "core/HallOfFame.h"
#include "core/Services.h"
#include "core/TurnLogic.h"
#include "ui/BoardView.h"

#include <QWidget>

#include <optional>

class frmNováHra;
class ModalClickGuard;
class QDialog;
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
    void menuAction(MenuItem item);
    void DealCards();

    // Ends the run the way a confirmed "Konec" does: the unpacked tree goes first.
    void endRun();

    bool soundOn() const { return m_view.soundShownOn(); }
    const GameState& gameState() const { return m_logic.state(); }
    const GameSettings& settings() const { return m_settings; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void Timer1Tick();
    void Timer2Tick();
    void cardClick(int index);
    void FinishGame();
    void showHallOfFame(const HallOfFame& fame, std::optional<int> newPlace);
    void reportUnsaved(const QString& what);
    // Every small window stands over the cards, clear of the side panel of this board.
    int openDialog(QDialog& dialog);
    int openDialog(QDialog&& dialog) { return openDialog(dialog); }
    void playSound(GameSound sound);
    bool showNewGameDialog();

    Services m_services;
    GameSettings m_settings; // the answer of the last new-game dialog
    TurnLogic m_logic;
    bool m_ending = false;           // once set, nothing deals or opens a window any more
    frmNováHra* m_newGame = nullptr; // loaded once, then only hidden and shown
    PendingRecord m_pendingRecord;
    ModalClickGuard* m_clickGuard; // a double-click on a dialog is no click here

    BoardView m_view;
    QTimer* Timer1 = nullptr;
    QTimer* Timer2 = nullptr;
};
