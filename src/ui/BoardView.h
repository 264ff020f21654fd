#pragma once

#include "core/TurnLogic.h"
#include "ui/HoverGroup.h"

#include <QPixmap>
#include <QString>

#include <array>
#include <functional>
#include <vector>

class ActionLabel;
class CardPicture;
class QLabel;
class QWidget;
struct BoardLayout;
struct GameSettings;

// The menu's items, in their order down the panel: the index of each is its label's,
// lblNabídka_0 … lblNabídka_5.
enum class MenuItem { NewGame, Sound, HallOfFame, Help, About, Quit };
constexpr int menuItemCount = 6;

// What the board window shows: the cards, the side panel with names, scores, move count and
// clock, and the menu. It draws what the turn rules decide and reports clicks on cards and menu
// labels; it decides nothing itself. Its controls are children of the board window.
class BoardView {
public:
    // Where a face or back picture of the current sets is read from.
    using PicturePath = std::function<QString(const QString& value)>;

    BoardView(QWidget* board, std::function<void(int index)> cardClicked,
              std::function<void(MenuItem item)> menuClicked);

    // Lays the side panel and cards out for a new board, with every card hidden, and sets the
    // panel's captions for the game mode.
    void layOut(const BoardLayout& layout, const GameSettings& settings);
    // Gives every card its back and face. False when a face cannot be read; the board is then
    // of no use and stays hidden.
    bool showPictures(const QStringList& cardValue, const PicturePath& face,
                      const QString& backPath);
    // The side of a card in device pixels, which decides the size of picture to read.
    int cardDevicePixels() const;
    // Removes the cards of the last board; the first card stays, hidden, for the next one.
    void removeCards();

    // Shows the cards whose face changed and the panel as the rules leave them.
    void mirror(const TurnLogic& logic, const std::vector<int>& changed);
    void renderPanel(const TurnLogic& logic);
    void highlightPlayer(bool player1);
    void setClock(const QString& caption);
    // The menu and the panel's labels, greyed while an action or a window runs.
    void setPanelEnabled(bool enabled);

    // The sound switch lives in the look of "Zvuky": struck through means off.
    bool soundShownOn() const;
    void showSoundOn(bool on);
    // The hover look of the menu: off for one label (clicked) or for all (the bare window).
    void clearMenuLook(MenuItem item);
    void resetMenuLook();

    // The texts that the two-player result window copies, verbatim.
    QString playerText(int player) const;
    QString scoreText(int player) const;

    // The tile behind every window, kept in the board's hidden picture, where every dialog
    // takes it from.
    QPixmap backgroundTile() const;

    int cardCount() const { return static_cast<int>(imgLotaro.size()); }

private:
    void createCard(int k);
    ActionLabel* menuLabel(MenuItem item) const { return lblNabídka[size_t(item)]; }

    QWidget* m_board;
    std::function<void(int)> m_cardClicked;
    std::array<ActionLabel*, menuItemCount> lblNabídka{};
    HoverGroup m_menu;
    QLabel* lblHráč1 = nullptr;
    QLabel* lblHráč2 = nullptr;
    QLabel* lblSkóre1 = nullptr;
    QLabel* lblSkóre2 = nullptr;
    QLabel* lblČas = nullptr;
    std::vector<CardPicture*> imgLotaro;
    std::vector<CardPicture*> imgLíc;
    CardPicture* imgRub = nullptr;
    QLabel* picPozadí = nullptr;
};
