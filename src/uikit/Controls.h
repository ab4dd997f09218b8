#pragma once

#include "uikit/ClickLabel.h"

#include <QRect>

#include <span>

class QWidget;

// Geometry of the windows is given in twips; 15 twips make one pixel at 96 dots per inch.
constexpr int twipsToPixels(int twips)
{
    return (twips + 7) / 15;
}
constexpr QRect twips(int left, int top, int width, int height)
{
    return QRect(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width), twipsToPixels(height));
}

enum class ControlKind
{
    Panel,     // a container with a background picture or colour
    Label,     // transparent text
    Image,     // a picture
    Button,    // the button picture inside a one-pixel flat border
    Text,      // one-line text box
    MultiText, // several-line text box
    Check,
    Combo, // drop-down list
    List,
    Frame, // a drawn rectangle or line
};

// How a control looks and starts; every field has a default, so a table names only what differs.
struct ControlLook
{
    int index = -1; // position in a control array, -1 for a lone control
    const char* caption = nullptr;
    const char* fg = nullptr;
    const char* bg = nullptr;
    const char* picture = nullptr;
    const char* font = nullptr;
    double points = 0;
    bool bold = false;
    Qt::Alignment align = Qt::AlignLeft | Qt::AlignTop;
    bool hand = false;
    bool hidden = false;
    bool locked = false;
    const char* accessible = nullptr;
};

// One control of a window: the layout of every window is a table of these.
struct ControlRow
{
    ControlKind kind;
    const char* name;
    int left, top, width, height; // twips
    ControlLook look = {};
};

// Where each of the main window's panels lies: they share one rectangle and take turns in it.
inline constexpr QRect mainPanelRect = twips(1680, 960, 7335, 3975);

// Creates the controls of one container from its table, which lists them topmost first. Windowed
// controls (panels, boxes, lists) are raised above labels and images whatever their place in the
// table: labels are drawn on their container, so nothing can put one above a box.
void buildControls(QWidget* container, std::span<const ControlRow> entries);

// Tab goes through widgets in this order, those that take no focus now included for when they do.
void setTabChain(const QList<QWidget*>& widgets);

[[noreturn]] void missingControl(const QObject* root, const QString& name, int index);

// The control of root with this name and, in a control array, this index. A name that the layout
// does not have is a fault in the program, so it stops at once with the name rather than later on
// a null pointer.
template <typename T> T* control(const QObject* root, const QString& name, int index = -1)
{
    const auto all = root->findChildren<T*>(name);
    for (T* w : all) {
        if (index < 0 || w->property("index").toInt() == index)
            return w;
    }
    missingControl(root, name, index);
}
template <typename T> T* control(const QObject* root, const char* name, int index = -1)
{
    return control<T>(root, QString::fromUtf8(name), index);
}

// The font family for a face named in the layout, or the best installed substitute.
QString fontFamily(const QString& face);
// The font the layout's rectangles were drawn for, for a window to set on itself: the desktop's
// own (a GNOME session's, say) may be larger, and would clip the captions.
QFont layoutFont();
