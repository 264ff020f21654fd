#include "TurnLogic.h"

#include <limits>

void TurnLogic::deal(const QStringList& cardValues, bool twoPlayers, int flipInterval)
{
    m_state = GameState();
    m_state.cardValue = cardValues;
    m_faces.assign(static_cast<size_t>(cardValues.size()), CardFace::Down);
    m_twoPlayers = twoPlayers;
    m_flipInterval = flipInterval;
}

void TurnLogic::setFace(int index, CardFace face, std::vector<int>& changed)
{
    CardFace& current = m_faces[static_cast<size_t>(index)];
    if (current == face)
        return;
    current = face;
    changed.push_back(index);
}

void TurnLogic::turnBackLastMove(std::vector<int>& changed)
{
    const CardFace to = m_state.lastWasPair ? CardFace::Removed : CardFace::Down;
    setFace(m_state.firstIndex, to, changed);
    setFace(m_state.secondIndex, to, changed);
}

TurnLogic::Outcome TurnLogic::click(int i, bool flipTimerRunning, const QTime& now)
{
    Outcome o;
    GameState& s = m_state;
    // A paired or removed card cannot be clicked: its control is disabled or hidden.
    const bool clickable =
        i >= 0 && i < cardCount() && (face(i) == CardFace::Down || face(i) == CardFace::Up);
    if (!clickable || flipTimerRunning || (i == s.lastClicked && s.cardsUp == 1)) {
        o.ignored = true;
        return o;
    }
    s.lastClicked = static_cast<qint16>(i);
    if (!m_twoPlayers && s.clockIdle) {
        s.startTime = now;
        s.clockIdle = false;
        o.startClock = true;
    }
    // In the whole-move mode the click that begins a move first clears the last one.
    if (s.cardsUp == 0 && !flipsBackByTimer())
        turnBackLastMove(o.changed);
    s.lastWasPair = false;
    // Turned down just now and up again at once: the control ends where it started, but it
    // was touched and is shown anew.
    m_faces[static_cast<size_t>(i)] = CardFace::Up;
    o.changed.push_back(i);
    ++s.cardsUp;

    const auto value = [&s](int k) { return static_cast<qint16>(s.cardValue.value(k).toInt()); };
    if (s.cardsUp == 1) {
        o.sound = GameSound::Turn;
        s.firstValue = value(i);
        s.firstIndex = static_cast<qint16>(i);
        return o;
    }

    s.secondValue = value(i);
    s.cardsUp = 0;
    s.secondIndex = static_cast<qint16>(i);
    // The count stops at the largest number its 16 bits hold: one more would wrap it to a
    // negative, unbeatable first place in the hall of fame.
    if (!m_twoPlayers && s.turnedCount < std::numeric_limits<qint16>::max())
        ++s.turnedCount;
    if (s.firstValue != s.secondValue) {
        o.sound = GameSound::Turn;
        s.firstValue = 0;
        s.secondValue = 0;
        if (m_twoPlayers)
            s.player1OnMove = !s.player1OnMove;
    } else {
        o.sound = GameSound::Pair;
        s.lastWasPair = true;
        setFace(s.firstIndex, CardFace::Paired, o.changed);
        setFace(s.secondIndex, CardFace::Paired, o.changed);
        ++s.pairsFound;
        // A player who finds a pair moves again.
        if (m_twoPlayers && !s.player1OnMove)
            ++s.score2;
        else
            ++s.score1;
        o.gameOver = s.pairsFound == cardCount() / 2;
    }
    // The board that a finished game leaves behind is replaced before the timer could run, so
    // it is never started for the last move.
    o.startFlipTimer = !o.gameOver && flipsBackByTimer();
    return o;
}

std::vector<int> TurnLogic::flipBack()
{
    std::vector<int> changed;
    turnBackLastMove(changed);
    return changed;
}

std::vector<int> TurnLogic::removeLastPair()
{
    std::vector<int> changed;
    setFace(m_state.firstIndex, CardFace::Removed, changed);
    setFace(m_state.secondIndex, CardFace::Removed, changed);
    m_state.lastWasPair = false;
    return changed;
}
