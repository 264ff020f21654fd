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
} // namespace Screen
