#include "frmNápověda.h"

#include "ui/WindowLook.h"

#include <QLabel>

QString frmNápověda::helpText()
{
    return QStringLiteral(
        "Stisk klávesy Esc způsobí minimalizaci hry. Pokud budete chtít hrát Lotaro s vlastními "
        "obrázky,  nakopírujte je do adresáře, ve kterém je umístěn soubor lotaro. Obrázky musí "
        "být formátu jpg, jejich velikost upravte na 90x90 pixelů a pojmenujte je 1.jpg až "
        "40.jpg. Pokud budete chtít hrát Lotaro s 6x5 kartičkama, stačí obrázků patnáct, pro hru "
        "s 8x6 kartičkama potřebujete obrázků 24. Pokud si ještě nevíte s něčím rady, mailujte na "
        "adresu uvedenou v okně O programu. Příjemnou zábavu vám přeje autor.");
}

frmNápověda::frmNápověda(QWidget* board)
    : LotaroDialog(board, QStringLiteral("frmNápověda"), 6945, 3975)
{
    QLabel* text = addLabel(QStringLiteral("lblNápověda"), helpText(), 240, 120, 6585, 3150,
                            WindowLook::comicFont(12));
    text->setWordWrap(true);
    addAction(QStringLiteral("lblOK"), QStringLiteral("OK"), 3045, 3465, [this] { accept(); });
}
