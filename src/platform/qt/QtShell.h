#pragma once

#include "platform/Shell.h"

class QtShell final : public Shell
{
public:
    bool openUrl(const QUrl& url) override;
};
