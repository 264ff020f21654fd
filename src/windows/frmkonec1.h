#pragma once

#include "ui/LotaroDialog.h"

class HallOfFame;

// The result of a one-player game: name, moves and time. Loading it ranks the result into the
// hall of fame.
class frmkonec1 : public LotaroDialog {
public:
    frmkonec1(QWidget* board, HallOfFame& fame, int sizeClass);
};
