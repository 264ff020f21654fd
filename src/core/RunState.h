#pragma once

#include <QString>

// What the board needs to know of the run beyond its seams.
struct RunState {
    // Where the own picture set ("Vlastní") is read from.
    QString ownSetDir;
};
