#pragma once

#include "core/ScreenMetrics.h"

#include <QRect>
#include <QSize>

class QWidget;

namespace Screen {
// The screen the game runs on: the primary one.
QRect geometry();
ScreenMetrics metrics();
// The same measures of an area of the screen: a window's.
ScreenMetrics metrics(QSize area);
// Under XWayland, returns once a window just shown is on the screen and painted, or after a
// second at most: the compositor stacks windows in the order they first show their contents,
// so a dialog shown after this stays above it. Elsewhere it returns at once, as the window
// would only be painted sooner to keep the dialog waiting.
void waitUntilExposed(QWidget* window);
} // namespace Screen
