#include "frmSíň.h"

#include "core/HallOfFame.h"
#include "core/Twips.h"
#include "ui/WindowLook.h"

#include <QFrame>
#include <QLabel>

#include <functional>

using Twips::toPixels;

namespace {
int rowTop(int row)
{
    // Rows are 360 twips apart; each group of five starts 120 twips lower than the last.
    return row < 5 ? 1560 + 360 * row : row < 10 ? 3480 + 360 * (row - 5) : 5400 + 360 * (row - 10);
}

int sizeClassOfRow(int row)
{
    return row < 5 ? 2 : row < 10 ? 1 : 0;
}

// The row labels were sized for shorter texts than a date or a time takes. Each keeps the point
// its column is aligned on (left edge, right edge or centre) and grows about it to fit its
// text, but never beyond `widest` twips.
void fitText(QLabel* label, int left, int width, int widest)
{
    const int w = qMin(qMax(label->sizeHint().width(), toPixels(width)), toPixels(widest));
    const Qt::Alignment a = label->alignment();
    const int x = a & Qt::AlignRight     ? toPixels(left + width) - w
                  : a & Qt::AlignHCenter ? toPixels(left + width / 2.0) - w / 2
                                         : toPixels(left);
    label->setGeometry(x, label->y(), w, label->height());
}
} // namespace

int frmSíň::rowOf(Place p)
{
    return p.place + (p.sizeClass == 0 ? 10 : p.sizeClass == 1 ? 5 : 0);
}

frmSíň::frmSíň(QWidget* board, const HallOfFame& fame, std::optional<Place> newEntry,
               std::function<void()> playEndSound)
    : LotaroDialog(board, QStringLiteral("frmSíň"), 7365, 7965), m_fame(fame),
      m_newEntryRow(newEntry ? std::optional<int>(rowOf(*newEntry)) : std::nullopt),
      m_blink(this, std::move(playEndSound))
{
    const QFont regular = WindowLook::comicFont(12);
    QFont title = WindowLook::comicFont(15.75, true);
    title.setUnderline(true);
    addLabel(QStringLiteral("Label3"), QStringLiteral("SÍŇ SLÁVY"), 2610, 120, 2175, 495, title,
             Qt::AlignHCenter);
    const struct {
        const char *name, *text;
        int left, top, width;
    } fixed[] = {{"Label1", "Hráč", 1500, 960, 570},    {"label", "Datum", 2730, 960, 810},
                 {"Label6", "Otočené", 4410, 960, 930}, {"Label5", "Čas", 6090, 960, 375},
                 {"Label8", "10x8", 525, 2160, 540},    {"Label7", "8x6", 630, 4200, 435},
                 {"Label4", "6x5", 630, 6120, 435}};
    for (const auto& f : fixed)
        addLabel(QString::fromUtf8(f.name), QString::fromUtf8(f.text), f.left, f.top, f.width, 345,
                 regular);

    const struct {
        const char* name;
        int x1, y1, x2, y2;
    } lines[] = {{"Line1_1", 315, 840, 7035, 840},   {"Line1_2", 315, 840, 315, 7245},
                 {"Line1_3", 315, 7245, 7035, 7245}, {"Line1_4", 7035, 840, 7035, 7245},
                 {"Line1_0", 330, 1440, 7050, 1440}, {"Line5_1", 330, 3360, 7050, 3360},
                 {"Line5_0", 330, 5280, 7050, 5280}};
    for (const auto& l : lines) {
        auto* line = new QFrame(client());
        line->setObjectName(QString::fromUtf8(l.name));
        line->setFrameShape(l.x1 == l.x2 ? QFrame::VLine : QFrame::HLine);
        line->setFrameShadow(QFrame::Plain);
        line->setGeometry(toPixels(l.x1), toPixels(l.y1), qMax(1, toPixels(l.x2) - toPixels(l.x1)),
                          qMax(1, toPixels(l.y2) - toPixels(l.y1)));
    }

    for (int r = 0; r < 15; ++r) {
        const QString n = u'_' + QString::number(r);
        lblJméno[r] = addLabel(QStringLiteral("lblJméno") + n, QStringLiteral("Hráč"), 1500,
                               rowTop(r), 570, 345, regular);
        lblDatum[r] = addLabel(QStringLiteral("lblDatum") + n, QStringLiteral("Datum"), 2730,
                               rowTop(r), 690, 345, regular);
        lblOtočené[r] = addLabel(QStringLiteral("lblOtočené") + n, QStringLiteral("Otočené"), 4185,
                                 rowTop(r), 930, 345, regular, Qt::AlignRight);
        lblČas[r] = addLabel(QStringLiteral("lblČas") + n, QStringLiteral("Čas"), 6135, rowTop(r),
                             405, 345, regular, Qt::AlignHCenter);
        for (QLabel* l : {lblJméno[r], lblDatum[r], lblOtočené[r], lblČas[r]})
            l->setWordWrap(false);
    }
    // Neither label loses its look to a click or to the other label; only the bare window
    // takes it away.
    addAction(
        QStringLiteral("lblVymazat"), QStringLiteral("Vymazat"), 1785, 7455,
        [this] { clickVymazat(); }, true, Qt::AlignLeft);
    addAction(
        QStringLiteral("lblOK"), QStringLiteral("OK"), 4725, 7455, [this] { clickOK(); }, true);
    if (m_newEntryRow) {
        const int r = *m_newEntryRow;
        rowBold(r, true);
        m_blink.start({lblJméno[r], lblDatum[r], lblOtočené[r], lblČas[r]});
    }
    showTables();
}

void frmSíň::showTables()
{
    for (int r = 0; r < 15; ++r) {
        const int place = r % 5;
        const HallOfFameEntry e = m_fame.entry(sizeClassOfRow(r), place);
        lblJméno[r]->setText(e.name);
        lblDatum[r]->setText(HallOfFame::dateText(e.date));
        lblOtočené[r]->setText(QString::number(e.turned));
        lblČas[r]->setText(HallOfFame::timeText(e.time));
        // A name never runs into the date: it is cut at its column's end.
        fitText(lblJméno[r], 1500, 570, 2730 - 60 - 1500);
        fitText(lblDatum[r], 2730, 690, 4185 - 2730);
        fitText(lblOtočené[r], 4185, 930, 930);
        fitText(lblČas[r], 6135, 405, 1200);
    }
}

void frmSíň::rowBold(int row, bool bold)
{
    for (QLabel* l : {lblJméno[row], lblDatum[row], lblOtočené[row], lblČas[row]}) {
        QFont f = l->font();
        f.setBold(bold);
        l->setFont(f);
    }
}

void frmSíň::unmark()
{
    if (!m_newEntryRow)
        return;
    rowBold(*m_newEntryRow, false);
    m_blink.stop();
}

void frmSíň::clickOK()
{
    unmark();
    accept();
}

void frmSíň::clickVymazat()
{
    m_cleared = true;
    m_fame.clearHallOfFame();
    unmark();
    showTables();
}
