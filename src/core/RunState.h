#pragma once

#include "core/HallOfFame.h"
#include "core/GameSettings.h"

#include <QString>

// What lives for the whole run and is shared by the windows. Owned once (by main) and handed
// to every window that needs it.
struct RunState {
    GameSettings settings;
    // Read from the store once per run, written only by the hall-of-fame window's "OK".
    HallOfFame fame;
    // False only while the hall of fame is open from the board menu.
    bool fameAfterGame = true;
    // Set by the quit confirmation when the user confirms.
    bool quitConfirmed = false;
    // Once the program has begun to end, nothing may deal or open a window any more.
    bool ending = false;
};
