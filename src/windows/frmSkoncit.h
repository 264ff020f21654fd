#pragma once

#include "ui/LotaroDialog.h"

// Asks before the game ends. Only "OK" accepts (quitConfirmed); "Storno" and any other way of
// closing reject.
class frmSkoncit : public LotaroDialog {
public:
    explicit frmSkoncit(QWidget* board);
};
