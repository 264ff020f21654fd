#pragma once

#include "core/ScreenMetrics.h"

#include <QRect>
#include <QSize>

class QWidget;

namespace Screen {
// Before the application object: tells the toolkit through its environment how to hand the
// game's repaints to an X server (see Screen.cpp). True when it set a variable, which the
// caller removes once the toolkit has read it.
bool chooseRepaintPath();

// Decides the magnification of the whole game once, right after the application object is
// made and before any window: the given factor, or with 0 the one the screen's logical size
// calls for. Every size the toolkit draws, of controls, type, pictures and texture alike, is
// then that many times the design's; the game's own measures stay those of the design.
double magnify(double forced);
// The factor decided, 1 until then.
double magnification();

// The screen the game runs on: the primary one, in the design's pixels.
QRect geometry();
// Its size in the pixels of the device.
QSize deviceSize();
ScreenMetrics metrics();
// The same measures of an area of the screen: a window's.
ScreenMetrics metrics(QSize area);
} // namespace Screen
