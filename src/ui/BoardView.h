#pragma once

#include "core/TurnLogic.h"

#include <QString>

#include <functional>
#include <vector>

class CardPicture;
class QLabel;
class QWidget;
struct BoardLayout;
struct GameSettings;

// What the board window shows of a game: the cards and the side panel with names, scores, move
// count and clock. It draws what the turn rules decide and reports card clicks; it decides
// nothing itself. Its controls are children of the board window.
class BoardView {
public:
    // Where a face or back picture of the current sets is read from.
    using PicturePath = std::function<QString(const QString& value)>;

    BoardView(QWidget* board, std::function<void(int index)> cardClicked);

    // Lays the side panel and cards out for a new board, with every card hidden, and sets the
    // panel's captions for the game mode.
    void layOut(const BoardLayout& layout, const GameSettings& settings);
    // Gives every card its back and face. False when a face cannot be read; the board is then
    // of no use and stays hidden.
    bool showPictures(const QStringList& cardValue, const PicturePath& face,
                      const QString& backPath);
    // Removes the cards of the last board; the first card stays, hidden, for the next one.
    void removeCards();

    // Shows the cards whose face changed and the panel as the rules leave them.
    void mirror(const TurnLogic& logic, const std::vector<int>& changed);
    void renderPanel(const TurnLogic& logic);
    void highlightPlayer(bool player1);
    void setClock(const QString& caption);
    void setPanelEnabled(bool enabled);

    // The texts that the two-player result window copies, verbatim.
    QString playerText(int player) const;
    QString scoreText(int player) const;

    int cardCount() const { return static_cast<int>(imgLotaro.size()); }

private:
    void createCard(int k);

    QWidget* m_board;
    std::function<void(int)> m_cardClicked;
    QLabel* lblHráč1 = nullptr;
    QLabel* lblHráč2 = nullptr;
    QLabel* lblSkóre1 = nullptr;
    QLabel* lblSkóre2 = nullptr;
    QLabel* lblČas = nullptr;
    std::vector<CardPicture*> imgLotaro;
    std::vector<CardPicture*> imgLíc;
    CardPicture* imgRub = nullptr;
};
