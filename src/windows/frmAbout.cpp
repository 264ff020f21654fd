#include "frmAbout.h"

#include "core/Twips.h"
#include "ui/ActionLabel.h"
#include "ui/WindowLook.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QLabel>
#include <QUrl>

// Clearly the project's own placeholders: no real person and no real company.
const QString frmAbout::author = QStringLiteral("Vývojáři hry Lotaro, 2026");
const QString frmAbout::email = QStringLiteral("lotaro@example.org");
const QString frmAbout::web = QStringLiteral("https://lotaro.example.org/");

frmAbout::frmAbout(QWidget* board, std::function<bool(const QUrl&)> openUrl)
    : LotaroDialog(board, QStringLiteral("frmAbout"), 3960, 3540)
{
    if (!openUrl)
        openUrl = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
    auto* icon = new QLabel(client());
    icon->setObjectName(QStringLiteral("picIcon"));
    icon->setPixmap(WindowLook::embeddedPicture(QStringLiteral(":/icons/lotaro-32.png"), "png"));
    icon->setGeometry(Twips::toPixels(240), Twips::toPixels(570), 32, 32);
    addLabel(QStringLiteral("lblTitle"), QStringLiteral("Lotaro  v.1"), 1080, 315, 1620, 435,
             WindowLook::comicFont(15.75, false, true))
        ->adjustSize();
    addLabel(QStringLiteral("lblDescription"), author, 1080, 1050, 2280, 345,
             WindowLook::comicFont(12, false, true))
        ->adjustSize();
    auto* line = new QFrame(client());
    line->setObjectName(QStringLiteral("Line1"));
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Plain);
    line->setGeometry(0, Twips::toPixels(1530), client()->width(), 1);
    QLabel* note = addLabel(
        QStringLiteral("Label1"),
        QStringLiteral("Pokud máte nějaké návrhy, připomínky a náměty, laskavě mi je sdělte."), 210,
        1770, 3690, 495, WindowLook::comicFont(9.75, false, true));
    note->setWordWrap(true);

    const QCursor hand(WindowLook::embeddedPicture(QStringLiteral(":/cursor/hand.png"), "png"), 12,
                       1);
    const auto link = [&](const char* name, const QString& text, int centreTwips, int top,
                          const QUrl& url) {
        auto* label = new ActionLabel(text, client());
        label->setObjectName(QString::fromLatin1(name));
        label->setFont(WindowLook::comicFont(8.25));
        WindowLook::setForeColour(label, QColor(0x00, 0x00, 0x80));
        label->adjustSize();
        label->move(Twips::toPixels(centreTwips) - label->width() / 2, Twips::toPixels(top));
        label->setCursor(hand);
        connect(label, &ActionLabel::hovered, this, [this, label] { underline(label); });
        connect(label, &ActionLabel::clicked, this, [openUrl, url] { openUrl(url); });
        return label;
    };
    lblDisclaimer = link("lblDisclaimer", email, 1980 + 1785 / 2, 2370,
                         QUrl(QStringLiteral("mailto:") + email));
    Label3 = link("Label3", web, 1500 + 2295 / 2, 2610, QUrl(web));
    addAction(QStringLiteral("lblOK"), QStringLiteral("OK"), 1575, 3045, [this] { accept(); });
}

void frmAbout::underline(ActionLabel* on)
{
    for (ActionLabel* label : {lblDisclaimer, Label3}) {
        QFont f = label->font();
        f.setUnderline(label == on);
        label->setFont(f);
    }
}

void frmAbout::overBackground()
{
    underline(nullptr);
    LotaroDialog::overBackground();
}
