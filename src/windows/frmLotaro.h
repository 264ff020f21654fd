#pragma once

#include "core/GameState.h"
#include "ui/HoverGroup.h"
#include "core/Services.h"
#include "core/TurnLogic.h"

#include <QWidget>

#include <array>
#include <vector>

class ActionLabel;
class CardPicture;
class frmNováHra;
class QLabel;
class QTimer;
struct RunState;

// The board window: covers the screen, shows the cards, the side panel and the menu, and opens
// every other window. It lives for the whole run.
class frmLotaro : public QWidget {
public:
    frmLotaro(RunState& run, const Services& services);
    ~frmLotaro() override;

    // The start-up sequence: title bar off, sound switch, maximise, background, show, new-game
    // set-up, deal.
    void load();
    // The menu's actions by index: 0 new game, 1 sound, 2 hall of fame, 3 help, 4 about, 5 quit.
    void menuAction(int k);
    void DealCards();

    // Ends the run the way "Konec" does once confirmed: the unpacked tree goes first.
    void endRun();

    bool soundOn() const;
    const GameState& gameState() const { return m_state; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void buildControls();
    void setPanelEnabled(bool enabled);
    void removeCards();
    void createCard(int k);
    bool dealPictures();
    void reportMissingSet();
    void layOutPanel(const struct BoardLayout& layout);
    void highlightPlayer1();
    void highlightPlayer2();
    void Timer1Tick();
    void Timer2Tick();
    void cardClick(int index);
    void mirror(const std::vector<int>& cards);
    void renderPanel();
    void FinishGame();
    void showHallOfFame();
    void playEndSound();
    bool showNewGameDialog();
    bool confirmQuit();
    void endProgram();

    RunState& m_run;
    Services m_services;
    GameState m_state;
    TurnLogic m_logic{m_state};
    frmNováHra* m_newGame = nullptr; // loaded once, then only hidden and shown

    std::array<ActionLabel*, 6> lblNabídka{};
    HoverGroup m_menu;
    QLabel* lblHráč1 = nullptr;
    QLabel* lblHráč2 = nullptr;
    QLabel* lblSkóre1 = nullptr;
    QLabel* lblSkóre2 = nullptr;
    QLabel* lblČas = nullptr;
    std::vector<CardPicture*> imgLotaro;
    std::vector<CardPicture*> imgLíc;
    CardPicture* imgRub = nullptr;
    QTimer* Timer1 = nullptr;
    QTimer* Timer2 = nullptr;
};
