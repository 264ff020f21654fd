#include "frmKonec2.h"

#include "ui/WindowLook.h"

#include <QLabel>

frmKonec2::frmKonec2(QWidget* board, const Board& result)
    : LotaroDialog(board, QStringLiteral("frmKonec2"), 5760, 2895), m_result(result),
      m_blink(this, result.playEndSound)
{
    const QFont bold = WindowLook::comicFont(12, true);
    const QFont big = WindowLook::comicFont(18, true);
    QFont title = bold;
    title.setUnderline(true);
    addLabel(QStringLiteral("lblVys"), QStringLiteral("VÝSLEDKY HRY"), 1680, 120, 2175, 375, title,
             Qt::AlignHCenter);
    lblHráč1 = addLabel(QStringLiteral("lblHráč1"), QStringLiteral("Hráč 1"), 240, 840, 1935, 615,
                        big, Qt::AlignRight);
    addLabel(QStringLiteral("Label1"), QStringLiteral("vs"), 2640, 960, 255, 345, bold,
             Qt::AlignHCenter);
    lblHráč2 =
        addLabel(QStringLiteral("lblHráč2"), QStringLiteral("Hráč 2"), 3360, 840, 1935, 615, big);
    lblSkóre1 = addLabel(QStringLiteral("lblSkóre1"), QStringLiteral("0"), 960, 1800, 1215, 375,
                         bold, Qt::AlignRight);
    addLabel(QStringLiteral("Label2"), QStringLiteral(":"), 2760, 1800, 135, 345, bold,
             Qt::AlignHCenter);
    lblSkóre2 =
        addLabel(QStringLiteral("lblSkóre2"), QStringLiteral("0"), 3360, 1800, 1455, 375, bold);
    addAction(QStringLiteral("lblOK"), QStringLiteral("OK"), 2415, 2310, [this] { accept(); });
    WindowLook::centreOnScreen(this);
    lblHráč1->setText(m_result.player1);
    lblHráč2->setText(m_result.player2);
    lblSkóre1->setText(m_result.score1Text);
    lblSkóre2->setText(m_result.score2Text);
    // The winner blinks; a draw leaves both steady.
    if (m_result.score1 > m_result.score2)
        m_blink.start({lblSkóre1, lblHráč1});
    else if (m_result.score1 < m_result.score2)
        m_blink.start({lblSkóre2, lblHráč2});
    else
        m_blink.start({});
}
