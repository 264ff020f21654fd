#include "frmkonec1.h"

#include "core/HallOfFame.h"
#include "ui/WindowLook.h"

#include <QLabel>

frmkonec1::frmkonec1(QWidget* board, const HallOfFameEntry& result)
    : LotaroDialog(board, QStringLiteral("frmkonec1"), 4305, 2520)
{
    const QFont regular = WindowLook::comicFont(12);
    const QFont bold = WindowLook::comicFont(12, true);
    QFont title = bold;
    title.setUnderline(true);
    addLabel(QStringLiteral("Label3"), QStringLiteral("VÝSLEDKY HRY"), 1200, 120, 2175, 375, title,
             Qt::AlignHCenter);
    addLabel(QStringLiteral("Label1"), QStringLiteral("Otočené:"), 1680, 840, 1005, 345, regular);
    addLabel(QStringLiteral("Label2"), QStringLiteral("Čas:"), 3360, 840, 450, 345, regular);
    QLabel* name = addLabel(QStringLiteral("lblHráč1"), QStringLiteral("Hráč 1"), 240, 1200, 1200,
                            525, WindowLook::comicFont(18, true));
    QLabel* turned = addLabel(QStringLiteral("lblOtočené"), QStringLiteral("0"), 1680, 1320, 855,
                              375, bold, Qt::AlignHCenter);
    QLabel* time =
        addLabel(QStringLiteral("lblČas"), QStringLiteral("0:00:00"), 3120, 1320, 960, 345, bold);
    addAction(QStringLiteral("lblOK"), QStringLiteral("OK"), 1785, 1995, [this] { accept(); });

    WindowLook::centreOnScreen(this);
    name->setText(result.name);
    turned->setText(QString::number(result.turned));
    time->setText(HallOfFame::timeText(result.time));
}
