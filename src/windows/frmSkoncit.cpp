#include "frmSkoncit.h"

#include "ui/WindowLook.h"

#include <QLabel>

frmSkoncit::frmSkoncit(QWidget* board)
    : LotaroDialog(board, QStringLiteral("frmSkoncit"), 4380, 1380)
{
    addLabel(QStringLiteral("Label1"), QStringLiteral("Opravdu chcete skončit tuto hru ?"), 315,
             210, 3780, 345, WindowLook::comicFont(12))
        ->adjustSize();
    addAction(QStringLiteral("lblStorno"), QStringLiteral("Storno"), 525, 945,
              [this] { reject(); });
    addAction(QStringLiteral("lblOK"), QStringLiteral("OK"), 2730, 945, [this] { accept(); });
}
