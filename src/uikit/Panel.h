#pragma once

#include "uikit/Controls.h"

#include <QColor>

#include <span>

// One of the main window's panels: a label over the panel rectangle, found by its design name,
// read by screen readers by its caption, with its background and the controls of its layout table.
class Panel : public ClickLabel
{
public:
    struct Look
    {
        const char* name;       // the design name, as the objectName
        const char* accessible; // what a screen reader calls the panel
        const char* picture = nullptr;
        QColor fill = {}; // under the picture, or instead of one
    };

    Panel(QWidget* parent, const Look& look, std::span<const ControlRow> controls);
};
