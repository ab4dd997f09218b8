#pragma once

#include <QIcon>

// The program's icon, read from its picture whenever a size is asked for instead of held decoded:
// the 256-pixel picture is a quarter of a megabyte in memory, wanted only when the desktop takes
// the window's icon. The small sizes the tray paints again and again are kept.
QIcon programIcon();
