#include "frmNeuloženo.h"

#include "ui/WindowLook.h"

#include <QDir>
#include <QLabel>

frmNeuloženo::frmNeuloženo(QWidget* board, const QString& what, const QString& fileName,
                           const QString& reason)
    : LotaroDialog(board, QStringLiteral("frmNeuloženo"), 6000, 2400)
{
    const QFont font = WindowLook::comicFont(12);
    addLabel(QStringLiteral("Label1"),
             QStringLiteral("%1 se nepodařilo uložit do souboru").arg(what), 240, 150, 5520, 345,
             font);
    QLabel* file = addLabel(QStringLiteral("lblSoubor"), QString(), 240, 510, 5520, 345, font);
    // A long path keeps its beginning and the file's name.
    file->setText(file->fontMetrics().elidedText(QDir::toNativeSeparators(fileName),
                                                 Qt::ElideMiddle, file->width()));
    file->setToolTip(fileName);
    addLabel(QStringLiteral("lblDůvod"), QStringLiteral("Důvod: %1.").arg(reason), 240, 870, 5520,
             345, font);
    addLabel(QStringLiteral("Label2"),
             QStringLiteral("Do konce hry to zůstane v paměti a uložím to znovu při příštím OK."),
             240, 1230, 5520, 600, font)
        ->setWordWrap(true);
    addAction(QStringLiteral("lblOK"), QStringLiteral("OK"), 2550, 1935, [this] { accept(); });
}
