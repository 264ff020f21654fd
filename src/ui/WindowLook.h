#pragma once

#include <QColor>
#include <QFont>
#include <QPixmap>

class QLabel;
class QWidget;

namespace WindowLook {
// Makes the game's type family the default font and sets the application icon.
void installLook();

// Every text of the game is set in one family: "Comic Sans MS" where the machine has it, else
// Comic Neue (the embedded copy where the machine lacks that too).
QFont comicFont(double pointSize, bool bold = false, bool italic = false);

// One of the game's own pictures, read as the format given (lower case, e.g. "png").
QPixmap embeddedPicture(const QString& path, const char* format);

// The tile painted behind every window, read once for the screen's pixel ratio: the board's
// hidden picture and every dialog share the one copy.
QPixmap backgroundTile();

// Lays the tile over the whole window from its origin as its background, restored on every
// repaint behind the transparent labels, and gives the window the standard scheme's colours.
void paintBackground(QWidget* window, const QPixmap& tile);

// Fore colour of a label while it is enabled; a disabled label keeps the greyed look.
void setForeColour(QLabel* label, const QColor& colour);
// The grey of the player who is not on move: the standard scheme's application workspace.
QColor workspaceGrey();

// A dialog centred over the board area left of the side panel (1.2 card sizes wide) and
// vertically on the screen.
void placeDialog(QWidget* dialog, int cardSize);
// A dialog centred on the screen.
void centreOnScreen(QWidget* dialog);
} // namespace WindowLook
