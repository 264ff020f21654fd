// The deal of the board window: layout, shuffle and pictures of a new game.
#include "frmLotaro.h"

#include "core/AssetPaths.h"
#include "windows/frmNeexistuje.h"
#include "ui/ActionLabel.h"
#include "ui/CardPicture.h"
#include "core/Deal.h"
#include "core/RunState.h"
#include "ui/WindowLook.h"
#include "ui/Pictures.h"
#include "ui/Screen.h"
#include "core/Twips.h"

#include <QHash>
#include <QLabel>
#include <QTimer>

namespace {
QPoint toPixels(const TwipsPoint& p)
{
    return {Twips::toPixels(p.x), Twips::toPixels(p.y)};
}
} // namespace

void frmLotaro::DealCards()
{
    setCursor(Qt::WaitCursor);
    const GameSettings& s = m_run.settings;
    const ScreenMetrics screen = Screen::metrics(size());
    const BoardLayout layout =
        computeBoardLayout(screen.widthTwips, screen.heightTwips, s.columns, s.rows, s.cardSize);
    const int n = s.columns * s.rows;
    const int c = Twips::toPixels(s.cardSize);

    layOutPanel(layout);
    Timer2->setInterval(s.flipDelay);
    for (int k = 0; k < 6; ++k) {
        lblNabídka[k]->move(toPixels(layout.menu[k]));
        lblNabídka[k]->show();
    }
    imgLotaro[0]->move(toPixels(layout.cards[0]));
    QPixmap back;
    // The six backs are always unpacked; a back that cannot be read leaves the cards blank.
    loadPicture(AssetPaths::backPicture(m_run.tempPath, s.backSet), {c, c}, devicePixelRatioF(),
                &back);
    imgRub->setPicture(back);
    imgLotaro[0]->resize(c, c);
    for (int k = 1; k < n; ++k) {
        createCard(k);
        imgLotaro[k]->setGeometry(QRect(toPixels(layout.cards[k]), QSize(c, c)));
    }

    lblHráč1->setText(DealText::playerCaption(s.player1Name, 1));
    lblHráč2->setText(DealText::playerCaption(s.player2Name, 2));
    lblHráč1->adjustSize();
    lblHráč2->adjustSize();
    lblHráč1->show();
    lblSkóre1->show();
    if (s.twoPlayers) {
        lblHráč2->show();
        lblSkóre2->show();
        lblČas->hide();
        lblSkóre1->setText(DealText::scoreCaption(0));
        lblSkóre2->setText(DealText::scoreCaption(0));
    } else {
        lblSkóre1->setText(DealText::turnedCaption(0));
        lblHráč2->hide();
        lblSkóre2->hide();
        lblČas->show();
        lblČas->setText(DealText::initialClockCaption());
    }

    m_state.cardValue = shuffleCardValues(n, m_services.random);
    if (!dealPictures()) {
        reportMissingSet();
        return;
    }
    imgLotaro[0]->show();
    // On a screen too small for the board the cards reach under the side panel; the menu
    // stays on top so that it can still be used.
    for (ActionLabel* label : lblNabídka)
        label->raise();
    m_state.resetAfterDeal();
    m_logic.deal(n, s.twoPlayers, s.flipDelay);
    m_run.fameAfterGame = true;
    highlightPlayer1();
    unsetCursor();
}

void frmLotaro::layOutPanel(const BoardLayout& layout)
{
    lblHráč1->move(toPixels(layout.player1));
    lblSkóre1->move(toPixels(layout.score1));
    lblČas->move(toPixels(layout.clock));
    lblHráč2->move(toPixels(layout.player2));
    lblSkóre2->move(toPixels(layout.score2));
}

bool frmLotaro::dealPictures()
{
    const GameSettings& s = m_run.settings;
    const QSize size = imgLotaro[0]->size();
    const qreal dpr = devicePixelRatioF();
    // Each face is decoded and scaled once; both cards of a pair share the picture.
    QHash<QString, QPixmap> faces;
    for (int k = 0; k < static_cast<int>(imgLotaro.size()); ++k) {
        const QString& value = m_state.cardValue[k];
        auto face = faces.constFind(value);
        if (face == faces.constEnd()) {
            QPixmap picture;
            const QString path = AssetPaths::facePicture(
                m_run.tempPath, AssetPaths::ownSetDirectory(m_run.ownSetDir), s.faceSet, value);
            // A picture that exists but cannot be decoded is reported like a missing one:
            // a half-dealt board would be of no use to the player.
            if (loadPicture(path, size, dpr, &picture) != PictureLoad::Loaded)
                return false;
            face = faces.insert(value, picture);
        }
        imgLíc[k]->setPicture(*face);
        imgLotaro[k]->setPicture(imgRub->picture());
        imgLotaro[k]->show();
    }
    return true;
}

void frmLotaro::reportMissingSet()
{
    unsetCursor();
    setPanelEnabled(false);
    {
        frmNeexistuje notice(this, m_run.settings.cardSize);
        notice.exec();
    }
    if (m_run.ending)
        return;
    menuAction(0);
}

void frmLotaro::mirror(const std::vector<int>& cards)
{
    for (int k : cards) {
        CardPicture* card = imgLotaro[static_cast<size_t>(k)];
        switch (m_logic.face(k)) {
        case CardFace::Down:
            card->setPicture(imgRub->picture());
            card->setEnabled(true);
            card->show();
            break;
        case CardFace::Up:
        case CardFace::Paired:
            card->setPicture(imgLíc[static_cast<size_t>(k)]->picture());
            card->setEnabled(m_logic.face(k) == CardFace::Up);
            card->show();
            break;
        case CardFace::Removed:
            card->hide();
            card->setEnabled(false);
            break;
        }
    }
}

void frmLotaro::renderPanel()
{
    if (m_logic.twoPlayers()) {
        lblSkóre1->setText(DealText::scoreCaption(m_state.score1));
        lblSkóre2->setText(DealText::scoreCaption(m_state.score2));
        if (m_state.player1OnMove)
            highlightPlayer1();
        else
            highlightPlayer2();
    } else {
        lblSkóre1->setText(DealText::turnedCaption(m_state.turnedCount));
    }
}

void frmLotaro::highlightPlayer2()
{
    for (QLabel* label : {lblHráč2, lblSkóre2})
        WindowLook::setForeColour(label, Qt::black);
    for (QLabel* label : {lblHráč1, lblSkóre1})
        WindowLook::setForeColour(label, WindowLook::workspaceGrey());
}

void frmLotaro::highlightPlayer1()
{
    for (QLabel* label : {lblHráč1, lblSkóre1})
        WindowLook::setForeColour(label, Qt::black);
    for (QLabel* label : {lblHráč2, lblSkóre2})
        WindowLook::setForeColour(label, WindowLook::workspaceGrey());
}

void frmLotaro::createCard(int k)
{
    auto* card = new CardPicture(this);
    card->setObjectName(QStringLiteral("imgLotaro_") + QString::number(k));
    card->setProperty("index", k);
    connect(card, &CardPicture::clicked, this, [this, k] { cardClick(k); });
    card->hide();
    imgLotaro.push_back(card);
    auto* face = new CardPicture(this);
    face->setObjectName(QStringLiteral("imgLíc_") + QString::number(k));
    face->hide();
    imgLíc.push_back(face);
}

void frmLotaro::removeCards()
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
}
