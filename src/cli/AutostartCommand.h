#pragma once

#include "cli/Command.h"

#include <optional>

// --autostart [on|off]: the entry that starts the program at login.
class AutostartCommand : public Command
{
public:
    AutostartCommand();
    Values nameValues() const override { return {0, 1}; }
    bool acceptsOptional(const QString& value) const override
    {
        return value == QStringLiteral("on") || value == QStringLiteral("off");
    }
    Result read(const Given& given) override;
    int run(const CommandRun& run) const override;

private:
    std::optional<bool> m_on; // nothing: only say whether it is on
};
