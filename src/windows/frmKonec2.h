#pragma once

#include "ui/Blinker.h"
#include "ui/LotaroDialog.h"

#include <functional>

class QLabel;

// The result of a two-player game: both names and scores, the winner's blinking, and the
// end-of-game sound about a second after it opens.
class frmKonec2 : public LotaroDialog {
public:
    struct Board {
        QString player1, player2, score1Text, score2Text; // the board's texts, verbatim
        int score1 = 0, score2 = 0;
        std::function<void()> playEndSound; // asked only while the sound is on
    };
    frmKonec2(QWidget* board, const Board& result);

private:
    Board m_result;
    QLabel* lblHráč1;
    QLabel* lblHráč2;
    QLabel* lblSkóre1;
    QLabel* lblSkóre2;
    Blinker m_blink;
};
