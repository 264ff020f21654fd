#pragma once

#include "core/ScreenMetrics.h"

#include <QRect>

class QWidget;

namespace Screen {
// The screen the game runs on: the primary one.
QRect geometry();
ScreenMetrics metrics();
} // namespace Screen
