#pragma once

namespace DisplayCheck {
// Called before the application object is made. When the toolkit finds no graphical display
// to connect to (none named, or one that is gone), the game says so plainly and ends with
// status 1, instead of Qt's abort with its advice to reinstall the application. Every other
// message goes where it went before.
void exitPlainlyWithoutDisplay();
} // namespace DisplayCheck
