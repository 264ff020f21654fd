#pragma once

#include "ui/LotaroDialog.h"

// The notice that the chosen picture set cannot be found. "OK" closes it.
class frmNeexistuje : public LotaroDialog {
public:
    explicit frmNeexistuje(QWidget* board);
};
