#pragma once

#include <QUrl>

// Hands a URL (mail or web) to the desktop.
class Shell
{
public:
    virtual ~Shell() = default;
    virtual bool openUrl(const QUrl& url) = 0;
};

class QtShell final : public Shell
{
public:
    bool openUrl(const QUrl& url) override;
};
