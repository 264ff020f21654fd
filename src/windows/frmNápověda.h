#pragma once

#include "ui/LotaroDialog.h"

// The help text. "OK" closes it.
class frmNápověda : public LotaroDialog {
public:
    explicit frmNápověda(QWidget* board);
    // The one paragraph of help, naming the executable that is really installed.
    static QString helpText();
};
