#pragma once

#include <functional>

class QWidget;

// Runs task once, right after widget's first paint: for work that must not hold up the first
// sight of a window.
void afterFirstPaint(QWidget* widget, std::function<void()> task);
