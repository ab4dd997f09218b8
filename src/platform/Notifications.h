#pragma once

#include <QString>

// Telling the desktop, which shows it even while the program's windows are out of sight.
class Notifications
{
public:
    virtual ~Notifications() = default;
    virtual void notify(const QString& title, const QString& text) = 0;
};
