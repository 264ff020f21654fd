#pragma once

#include "ui/LotaroDialog.h"

struct HallOfFameEntry;

// The result of a one-player game: name, moves and time, as the hall of fame ranks it.
class frmkonec1 : public LotaroDialog {
public:
    frmkonec1(QWidget* board, const HallOfFameEntry& result);

    // A close by the desktop is the window's "OK": the game goes on to the hall of fame.
    void reject() override { accept(); }
};
