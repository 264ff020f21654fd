#include "frmNeexistuje.h"

#include "ui/WindowLook.h"

#include <QLabel>

frmNeexistuje::frmNeexistuje(QWidget* board)
    : LotaroDialog(board, QStringLiteral("frmNeexistuje"), 4380, 1380)
{
    QLabel* label =
        addLabel(QStringLiteral("Label1"), QStringLiteral("Požadovaná sada obrázků neexistuje."),
                 210, 210, 4005, 345, WindowLook::comicFont(12));
    label->adjustSize();
    addAction(QStringLiteral("lblOK"), QStringLiteral("OK"), 1785, 840, [this] { accept(); });
}
