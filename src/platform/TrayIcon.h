#pragma once

#include <QString>

#include <functional>

// What the user did to the notification icon. Only releases act; a double click is a second release.
enum class TrayClick
{
    LeftRelease,
    RightRelease,
    DoubleClick,
    Other
};

// The program's one icon in the notification area.
class TrayIcon
{
public:
    virtual ~TrayIcon() = default;
    // Whether the desktop has a notification area at all.
    virtual bool available() const = 0;
    // Adds the icon once. Its picture and the menu its right click opens belong to the
    // implementation: the program's window gives them to the Qt one.
    virtual void add() = 0;
    virtual void setToolTip(const QString& text) = 0;
    virtual void remove() = 0;
    // A balloon beside the icon, for a desktop without a notification server.
    virtual void showMessage(const QString& title, const QString& text) = 0;

    std::function<void(TrayClick)> onClick;
};
