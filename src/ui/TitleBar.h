#pragma once

class QWidget;

// Shows or removes a top-level window's title bar and brings the window to the top, without
// moving or resizing it.
void SetTitleBar(QWidget* window, bool show);
