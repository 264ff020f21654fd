#pragma once

#include "core/GameSound.h"
#include "core/GameState.h"

#include <QStringList>
#include <QTime>

#include <optional>
#include <vector>

// What a card shows, as its picture control mirrors it.
enum class CardFace {
    Down,   // the back, clickable
    Up,     // its face, clickable (turned in the current or last move)
    Paired, // its face, no longer clickable, leaving the board
    Removed // gone
};

// The rules of a running game: what a click on a card does, how two turned cards are compared,
// when a found pair leaves and a miss turns back, how the turn passes and the scores grow. It
// works on the game state and knows no widget; the board window shows what it decides.
class TurnLogic {
public:
    // The flip-back interval that marks "Celý tah": the two cards stay until the next click.
    static constexpr int wholeMove = 4000;

    // A freshly dealt board: every card face down, the game state new.
    void deal(const QStringList& cardValues, bool twoPlayers, int flipInterval);

    struct Outcome {
        bool ignored = false;
        bool startClock = false;        // the first accepted click of a one-player game
        std::optional<GameSound> sound; // Turn for a card turned or a miss, Pair; none if ignored
        bool gameOver = false;          // the last pair was found in this click
        bool startFlipTimer = false;
        std::vector<int> changed; // cards whose face changed
    };

    // flipTimerRunning: the flip-back timer is counting, which keeps every click out.
    Outcome click(int index, bool flipTimerRunning, const QTime& now);
    // The flip-back timer's tick: the pair leaves, or the miss turns face down.
    std::vector<int> flipBack();
    // The end of a game takes the last pair off the board at once.
    std::vector<int> removeLastPair();

    const GameState& state() const { return m_state; }
    CardFace face(int index) const { return m_faces[static_cast<size_t>(index)]; }
    int cardCount() const { return static_cast<int>(m_faces.size()); }
    bool twoPlayers() const { return m_twoPlayers; }

private:
    void setFace(int index, CardFace face, std::vector<int>& changed);
    void turnBackLastMove(std::vector<int>& changed);
    // Timed flip-back (1 to 3 seconds) rather than the whole move.
    bool flipsBackByTimer() const { return m_flipInterval < wholeMove; }

    GameState m_state;
    std::vector<CardFace> m_faces;
    bool m_twoPlayers = false;
    int m_flipInterval = wholeMove;
};
