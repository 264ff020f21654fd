#pragma once

#include "ui/LotaroDialog.h"

struct HallOfFameEntry;

// The result of a one-player game: name, moves and time, as the hall of fame ranks it.
class frmkonec1 : public LotaroDialog {
public:
    frmkonec1(QWidget* board, const HallOfFameEntry& result);
};
