#pragma once

#include "ui/LotaroDialog.h"

// The notice that something could not be stored: what, in which file and why. The game keeps
// it in memory and tries again at the next save. "OK" closes it.
class frmNeuloženo : public LotaroDialog {
public:
    // what: the subject of the sentence, e.g. "Síň slávy".
    frmNeuloženo(QWidget* board, const QString& what, const QString& fileName,
                 const QString& reason);
};
