#pragma once

#include "ui/LotaroDialog.h"

// Asks before the game ends. "OK" sets the answer; "Storno" and any other way of closing
// leave it unset.
class frmSkoncit : public LotaroDialog {
public:
    frmSkoncit(QWidget* board, int cardSize, bool& quitConfirmed);
};
