#pragma once

// The sounds of the game, by what they mean; the numbers are those of the embedded files.
enum class GameSound { Turn = 1, Pair = 2, End = 3 };
