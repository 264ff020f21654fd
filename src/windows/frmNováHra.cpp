#include "frmNováHra.h"

#include "core/AssetStore.h"
#include "core/PlayerName.h"
#include "core/SettingsStore.h"
#include "core/Twips.h"
#include "ui/ActionLabel.h"
#include "ui/Screen.h"
#include "ui/WindowLook.h"

#include <QButtonGroup>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTimer>

using Twips::toPixels;

namespace {
enum Field { Players, BoardSize, Face, Back, Flip };

QRect twipsRect(int left, int top, int width, int height)
{
    return {toPixels(left), toPixels(top), toPixels(width), toPixels(height)};
}
} // namespace

frmNováHra::frmNováHra(QWidget* board, const Services& services)
    : LotaroDialog(board, QStringLiteral("frmNováHra"), 5460, 7245), m_services(services)
{
    buildControls();
}

void frmNováHra::buildControls()
{
    const QFont heading = WindowLook::comicFont(9.75, true);
    addLabel(QStringLiteral("Label1"), QStringLiteral("Lotaro"), 420, 105,
             WindowLook::comicFont(26.25, false, true));
    addLabel(QStringLiteral("Label2"), QStringLiteral("Rozlišení displeje :"), 3675, 120, font());
    Label3 =
        addLabel(QStringLiteral("Label3"), QString(), 3660, 420, WindowLook::comicFont(8.25, true));
    const struct {
        int index, left, top;
        const char* text;
    } headings[] = {{0, 315, 1050, "Obrázky - líc"},
                    {16, 3045, 1050, "Obrázky - rub"},
                    {7, 315, 3465, "Počet kartiček"},
                    {25, 3045, 3465, "Počet hráčů"},
                    {15, 315, 4935, "Otočení kartiček"}};
    for (const auto& h : headings) {
        QLabel* label = addLabel(QStringLiteral("Label6_") + QString::number(h.index),
                                 QString::fromUtf8(h.text), h.left, h.top, heading);
        label->setProperty("index", h.index);
    }

    // clang-format off
    m_groups = {{
        {"optHráči", "lblHráči", "Frame3", 3255, 3780, 645, {"1 hráč", "2 hráči"}, Players,
         nullptr, {}},
        {"optPočetKaret", "lblPočetKaret", "Frame5", 525, 3780, 960,
         {"10 x 8", "8 x 6", "6 x 5"}, BoardSize, nullptr, {}},
        {"optLíc", "lblLíc", "Frame2", 525, 1365, 1800,
         {"Číslice", "Obrázky 1", "Obrázky 2", "Obrázky 3", "Krásné ženy", "Vlastní"}, Face,
         nullptr, {}},
        {"optRub", "lblRub", "Frame4", 3255, 1365, 1905,
         {"Dřevo", "Listí", "Noviny", "Lesní plody", "Technika", "Zeď"}, Back, nullptr, {}},
        {"optOtočení", "lblOtočení", "Frame6", 525, 5250, 1275,
         {"1 sec", "2 sec", "3 sec", "Celý tah"}, Flip, nullptr, {}},
    }};
    // clang-format on
    for (Group& g : m_groups) {
        const int buttonHeight = g.field == BoardSize ? 315 : g.field == Flip ? 330 : 255;
        buildGroup(g, g.left + 315, buttonHeight);
    }

    addLabel(QStringLiteral("Label4"), QStringLiteral("1. hráč (max 6):"), 3270, 5040, font());
    addLabel(QStringLiteral("Label5"), QStringLiteral("2. hráč (max 6):"), 3270, 5775, font());
    txtHráč1 = new QLineEdit(client());
    txtHráč1->setObjectName(QStringLiteral("txtHráč1"));
    txtHráč1->setGeometry(twipsRect(3270, 5355, 1215, 330));
    txtHráč2 = new QLineEdit(client());
    txtHráč2->setObjectName(QStringLiteral("txtHráč2"));
    txtHráč2->setGeometry(twipsRect(3270, 6030, 1215, 330));
    for (QLineEdit* box : {txtHráč1, txtHráč2}) {
        box->setMaxLength(6);
        box->setFrame(true);
        // A typed or pasted direction mark would turn the name round on the board.
        connect(box, &QLineEdit::textEdited, box, [box](const QString& text) {
            const QString clean = PlayerName::withoutDirectionMarks(text);
            if (clean != text)
                box->setText(clean);
        });
    }

    addAction(QStringLiteral("lblKonec"), QStringLiteral("Konec"), 630, 6720, [this] { reject(); });
    addAction(QStringLiteral("lblOK"), QStringLiteral("OK"), 3885, 6720, [this] { clickOK(); });

    // The name boxes come first in the tab order; the first one has the focus.
    setTabOrder(txtHráč1, txtHráč2);
    for (Group& g : m_groups)
        for (QAbstractButton* b : g.buttons->buttons())
            b->setFocusPolicy(Qt::NoFocus);
}

void frmNováHra::buildGroup(Group& g, int captionLeft, int buttonHeight)
{
    auto* frame = new QWidget(client());
    frame->setObjectName(QString::fromUtf8(g.frameName));
    frame->setGeometry(twipsRect(g.left, g.top, 225, g.height));
    g.buttons = new QButtonGroup(frame);
    g.buttons->setExclusive(true);
    QList<ActionLabel*> captions;
    const QFont captionFont = WindowLook::comicFont(9);
    for (int i = 0; i < int(g.captions.size()); ++i) {
        auto* button = new QRadioButton(frame);
        button->setObjectName(QString::fromUtf8(g.optName) + u'_' + QString::number(i));
        const int width = g.field == Face && i != 4 ? 195 : 210;
        button->setGeometry(twipsRect(0, 315 * i, width, buttonHeight));
        g.buttons->addButton(button, i);

        auto* caption = new ActionLabel(QString::fromUtf8(g.captions[size_t(i)]), client());
        caption->setObjectName(QString::fromUtf8(g.lblName) + u'_' + QString::number(i));
        caption->setProperty("index", i);
        caption->setFont(captionFont);
        caption->move(toPixels(captionLeft), toPixels(g.top + 315 * i));
        caption->setFitsText(true, toPixels(255));
        captions.append(caption);
        Group* group = &g;
        // A caption selects its button as a click on the button would, and keeps its look.
        connect(caption, &ActionLabel::clicked, this, [this, group, i] { select(*group, i); });
        connect(caption, &ActionLabel::hovered, this, [group, i] { group->labels.hover(i); });
    }
    g.labels = HoverGroup(captions);
    if (g.field == Players)
        connect(g.buttons, &QButtonGroup::idToggled, this, [this](int, bool) { playersChanged(); });
}

void frmNováHra::select(Group& g, int index)
{
    if (QAbstractButton* button = g.buttons->button(index))
        button->setChecked(true);
}

void frmNováHra::playersChanged()
{
    const bool two = m_groups[Players].buttons->button(1)->isChecked();
    QPalette palette = txtHráč2->palette();
    const QColor base = two ? QColor(Qt::white) : palette.color(QPalette::Active, QPalette::Button);
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        palette.setColor(group, QPalette::Base, base);
    txtHráč2->setPalette(palette);
    txtHráč2->setEnabled(two);
}

std::optional<GameSettings> frmNováHra::ask()
{
    if (!m_loaded)
        load();
    const int answer = exec();
    if (answer != QDialog::Accepted)
        return std::nullopt;
    return applyChoice(choice(), m_cardSize);
}

void frmNováHra::load()
{
    m_loaded = true;
    WindowLook::centreOnScreen(this);
    const OptionChoice c = loadChoice(m_services.store);
    txtHráč1->setText(c.name1);
    txtHráč2->setText(c.name2);
    select(m_groups[Players], c.players);
    playersChanged();
    select(m_groups[BoardSize], c.boardSize);
    select(m_groups[Face], c.face);
    select(m_groups[Back], c.back);
    // The player reads the screen's real resolution; the cards are sized for the screen the
    // design is laid out on, which on a magnified screen is never one of the two small ones.
    Label3->setText(screenResolutionText(Screen::metrics(Screen::deviceSize())));
    Label3->adjustSize();
    m_cardSize = detectCardSize(Screen::metrics());
    select(m_groups[Flip], c.flip);
    txtHráč1->setFocus();
}

OptionChoice frmNováHra::choice() const
{
    OptionChoice c;
    int* fields[] = {&c.players, &c.boardSize, &c.face, &c.back, &c.flip};
    // None selected counts as the first.
    for (const Group& g : m_groups)
        *fields[g.field] = qMax(0, g.buttons->checkedId());
    c.name1 = PlayerName::withoutDirectionMarks(txtHráč1->text());
    c.name2 = PlayerName::withoutDirectionMarks(txtHráč2->text());
    return c;
}

void frmNováHra::startUnpacking()
{
    if (m_unpackStarted)
        return;
    m_unpackStarted = true;
    m_services.assets.startUnpacking();
}

void frmNováHra::clickOK()
{
    // The board is dealt from the unpacked files next.
    startUnpacking();
    m_services.assets.finishUnpacking();
    m_stored = saveChoice(m_services.store, choice());
    accept();
    if (QWidget* board = parentWidget()) {
        if (!board->isVisible())
            board->show();
        board->raise();
        board->activateWindow();
    }
}

void frmNováHra::paintEvent(QPaintEvent* event)
{
    LotaroDialog::paintEvent(event);
    // The pictures and sounds are written out once the dialog is on the screen: they are needed
    // only after "OK", and a thread writing them while the dialog is being drawn would only
    // delay it. Posted from the first paint, the start comes after that frame has been sent.
    if (!m_unpackStarted)
        QTimer::singleShot(0, this, [this] {
            if (isVisible())
                startUnpacking();
        });
}

void frmNováHra::keyPressEvent(QKeyEvent* event)
{
    // Neither Enter nor Escape stands for "OK" or "Konec".
    if (event->key() == Qt::Key_Escape || event->key() == Qt::Key_Return ||
        event->key() == Qt::Key_Enter)
        return;
    QDialog::keyPressEvent(event);
}

void frmNováHra::overBackground()
{
    for (const Group& g : m_groups)
        g.labels.reset();
    LotaroDialog::overBackground();
}
