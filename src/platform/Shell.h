#pragma once

#include <QUrl>

// Hands a URL (mail or web) to the desktop.
class Shell
{
public:
    virtual ~Shell() = default;
    virtual bool openUrl(const QUrl& url) = 0;
};
