#include "BoardView.h"

#include "core/Deal.h"
#include "core/GameSettings.h"
#include "core/Twips.h"
#include "ui/ActionLabel.h"
#include "ui/CardPicture.h"
#include "ui/Pictures.h"
#include "ui/WindowLook.h"

#include <QHash>
#include <QLabel>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>

#include <functional>

namespace {
const std::array<QString, menuItemCount> menuCaptions = {
    QStringLiteral("Nová hra"), QStringLiteral("Zvuky"),      QStringLiteral("Síň slávy"),
    QStringLiteral("Nápověda"), QStringLiteral("O programu"), QStringLiteral("Konec"),
};

// A side-panel label. The panel's sizes were made for a wider type, in which a caption and
// its value ("Otočené:" and the count, "Čas:" and the clock) always stand on two lines; this
// label keeps that break after the colon whatever the type, so the panel reads the same all
// game long and stays narrow enough for the smallest screens.
class PanelLabel : public QLabel {
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent* event) override
    {
        const QString caption = text();
        const qsizetype colon = caption.indexOf(QStringLiteral(": "));
        if (colon < 0) {
            QLabel::paintEvent(event);
            return;
        }
        const QString lines = caption.left(colon + 1) + u'\n' + caption.mid(colon + 1).trimmed();
        QStyleOption option;
        option.initFrom(this);
        QPainter painter(this);
        style()->drawItemText(&painter, contentsRect(), Qt::AlignLeft | Qt::AlignTop,
                              option.palette, isEnabled(), lines, foregroundRole());
    }
};

QLabel* panelLabel(QWidget* parent, const char* name, double pointSize, int widthTwips = 0,
                   int heightTwips = 0)
{
    QLabel* label = widthTwips > 0 ? new PanelLabel(parent) : new QLabel(parent);
    label->setObjectName(QString::fromUtf8(name));
    label->setFont(WindowLook::comicFont(pointSize, true));
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    if (widthTwips > 0)
        label->resize(Twips::toPixels(widthTwips), Twips::toPixels(heightTwips));
    label->hide();
    return label;
}

QPoint toPixels(const TwipsPoint& p)
{
    return {Twips::toPixels(p.x), Twips::toPixels(p.y)};
}
} // namespace

BoardView::BoardView(QWidget* board, std::function<void(int)> cardClicked,
                     std::function<void(MenuItem)> menuClicked)
    : m_board(board), m_cardClicked(std::move(cardClicked))
{
    for (int k = 0; k < menuItemCount; ++k) {
        auto* label = new ActionLabel(menuCaptions[size_t(k)], board);
        label->setObjectName(QStringLiteral("lblNabídka_") + QString::number(k));
        label->setProperty("index", k);
        label->setFont(WindowLook::comicFont(9.75));
        label->hide();
        label->setFitsText(true, Twips::toPixels(270));
        QObject::connect(label, &ActionLabel::clicked, label,
                         [menuClicked, k] { menuClicked(MenuItem(k)); });
        QObject::connect(label, &ActionLabel::hovered, label, [this, k] { m_menu.hover(k); });
        lblNabídka[size_t(k)] = label;
    }
    m_menu = HoverGroup({lblNabídka.begin(), lblNabídka.end()});
    lblHráč1 = panelLabel(board, "lblHráč1", 15.75);
    lblHráč2 = panelLabel(board, "lblHráč2", 15.75);
    lblSkóre1 = panelLabel(board, "lblSkóre1", 9.75, 1095, 615);
    lblSkóre2 = panelLabel(board, "lblSkóre2", 9.75, 1095, 375);
    lblČas = panelLabel(board, "lblČas", 9.75, 1095, 735);
    createCard(0);
    imgLotaro[0]->resize(Twips::toPixels(1500), Twips::toPixels(1500));
    imgRub = new CardPicture(board);
    imgRub->setObjectName(QStringLiteral("imgRub"));
    imgRub->hide();
    picPozadí = new QLabel(board);
    picPozadí->setObjectName(QStringLiteral("picPozadí"));
    picPozadí->hide();
    picPozadí->setPixmap(WindowLook::backgroundTile());
    picPozadí->adjustSize();
}

void BoardView::createCard(int k)
{
    auto* card = new CardPicture(m_board);
    card->setObjectName(QStringLiteral("imgLotaro_") + QString::number(k));
    card->setProperty("index", k);
    QObject::connect(card, &CardPicture::clicked, card, [this, k] { m_cardClicked(k); });
    card->hide();
    imgLotaro.push_back(card);
    auto* face = new CardPicture(m_board);
    face->setObjectName(QStringLiteral("imgLíc_") + QString::number(k));
    face->hide();
    imgLíc.push_back(face);
}

void BoardView::removeCards()
{
    // Deferred: the click that ends a game runs inside one of these cards' handlers.
    for (size_t k = 1; k < imgLotaro.size(); ++k) {
        for (CardPicture* card : {imgLotaro[k], imgLíc[k]}) {
            card->hide();
            card->setObjectName(QString());
            card->deleteLater();
        }
    }
    imgLotaro.resize(1);
    imgLíc.resize(1);
    imgLotaro[0]->hide();
    imgLotaro[0]->setEnabled(true);
}

void BoardView::layOut(const BoardLayout& layout, const GameSettings& s)
{
    lblHráč1->move(toPixels(layout.player1));
    lblSkóre1->move(toPixels(layout.score1));
    lblČas->move(toPixels(layout.clock));
    lblHráč2->move(toPixels(layout.player2));
    lblSkóre2->move(toPixels(layout.score2));
    for (size_t k = 0; k < lblNabídka.size(); ++k) {
        lblNabídka[k]->move(toPixels(layout.menu[k]));
        lblNabídka[k]->show();
    }

    const int c = Twips::toPixels(layout.cardSize);
    imgLotaro[0]->move(toPixels(layout.cards[0]));
    imgLotaro[0]->resize(c, c);
    for (int k = 1; k < static_cast<int>(layout.cards.size()); ++k) {
        createCard(k);
        imgLotaro[k]->setGeometry(QRect(toPixels(layout.cards[k]), QSize(c, c)));
    }

    lblHráč1->setText(DealText::playerCaption(s.player1Name, 1));
    lblHráč2->setText(DealText::playerCaption(s.player2Name, 2));
    lblHráč1->adjustSize();
    lblHráč2->adjustSize();
    lblHráč1->show();
    lblSkóre1->show();
    lblHráč2->setVisible(s.twoPlayers);
    lblSkóre2->setVisible(s.twoPlayers);
    lblČas->setVisible(!s.twoPlayers);
    if (s.twoPlayers) {
        lblSkóre1->setText(DealText::scoreCaption(0));
        lblSkóre2->setText(DealText::scoreCaption(0));
    } else {
        lblSkóre1->setText(DealText::turnedCaption(0));
        lblČas->setText(DealText::initialClockCaption());
    }
}

bool BoardView::showPictures(const QStringList& cardValue, const PicturePath& face,
                             const QString& backPath)
{
    const QSize size = imgLotaro[0]->size();
    const qreal dpr = m_board->devicePixelRatioF();
    // The six backs are always there; a back that cannot be read leaves the cards blank.
    const QPixmap back = loadPicture(backPath, size, dpr).picture;
    imgRub->setPicture(back);
    // Each face is decoded and scaled once; both cards of a pair share the picture.
    QHash<QString, QPixmap> faces;
    for (int k = 0; k < cardCount(); ++k) {
        const QString& value = cardValue[k];
        auto picture = faces.constFind(value);
        if (picture == faces.constEnd()) {
            LoadedPicture loaded = loadPicture(face(value), size, dpr);
            // A picture that exists but cannot be decoded is reported like a missing one:
            // a half-dealt board would be of no use to the player.
            if (loaded.status != PictureLoad::Loaded)
                return false;
            picture = faces.insert(value, std::move(loaded.picture));
        }
        imgLíc[k]->setPicture(*picture);
        imgLotaro[k]->setPicture(back);
        imgLotaro[k]->show();
    }
    // On a screen too small for the board the cards reach under the side panel; the menu
    // stays on top so that it can still be used.
    for (ActionLabel* label : lblNabídka)
        label->raise();
    return true;
}

int BoardView::cardDevicePixels() const
{
    return (imgLotaro[0]->size() * m_board->devicePixelRatioF()).width();
}

void BoardView::mirror(const TurnLogic& logic, const std::vector<int>& changed)
{
    for (int k : changed) {
        CardPicture* card = imgLotaro[static_cast<size_t>(k)];
        const CardFace face = logic.face(k);
        card->setVisible(face != CardFace::Removed);
        card->setEnabled(face == CardFace::Down || face == CardFace::Up);
        if (face == CardFace::Down)
            card->setPicture(imgRub->picture());
        else if (face != CardFace::Removed)
            card->setPicture(imgLíc[static_cast<size_t>(k)]->picture());
    }
}

void BoardView::renderPanel(const TurnLogic& logic)
{
    const GameState& s = logic.state();
    if (logic.twoPlayers()) {
        lblSkóre1->setText(DealText::scoreCaption(s.score1));
        lblSkóre2->setText(DealText::scoreCaption(s.score2));
        highlightPlayer(s.player1OnMove);
    } else {
        lblSkóre1->setText(DealText::turnedCaption(s.turnedCount));
    }
}

void BoardView::highlightPlayer(bool player1)
{
    const QColor on(Qt::black);
    const QColor off = WindowLook::workspaceGrey();
    for (QLabel* label : {lblHráč1, lblSkóre1})
        WindowLook::setForeColour(label, player1 ? on : off);
    for (QLabel* label : {lblHráč2, lblSkóre2})
        WindowLook::setForeColour(label, player1 ? off : on);
}

void BoardView::setClock(const QString& caption)
{
    lblČas->setText(caption);
}

void BoardView::setPanelEnabled(bool enabled)
{
    for (ActionLabel* label : lblNabídka)
        label->setEnabled(enabled);
    for (QLabel* label : {lblHráč1, lblSkóre1, lblHráč2, lblSkóre2, lblČas})
        label->setEnabled(enabled);
}

bool BoardView::soundShownOn() const
{
    return !menuLabel(MenuItem::Sound)->font().strikeOut();
}

void BoardView::showSoundOn(bool on)
{
    QFont f = menuLabel(MenuItem::Sound)->font();
    f.setStrikeOut(!on);
    menuLabel(MenuItem::Sound)->setFont(f);
}

void BoardView::clearMenuLook(MenuItem item)
{
    menuLabel(item)->setHighlighted(false);
}

void BoardView::resetMenuLook()
{
    m_menu.reset();
}

QPixmap BoardView::backgroundTile() const
{
    return picPozadí->pixmap();
}

QString BoardView::playerText(int player) const
{
    return (player == 1 ? lblHráč1 : lblHráč2)->text();
}

QString BoardView::scoreText(int player) const
{
    return (player == 1 ? lblSkóre1 : lblSkóre2)->text();
}
