#pragma once

class QWidget;

// Moves a top-level window to the middle of the primary screen's free area, where a window that
// opens of itself (the main window, the quick-add and month windows) is looked for.
void centreOnScreen(QWidget* window);
