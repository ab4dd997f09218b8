#pragma once

#include "cli/Command.h"

// --caldav: the CalDAV task list the agenda syncs with, which the sync helper links or forgets.
class CalDavCommand : public Command
{
public:
    // What was asked of the link.
    struct Asked
    {
        QString appDir;
        QString url; // empty: only say which server, unless off
        QString user;
        QString list; // --tasklist: which of the server's task lists
        bool off = false;
    };

    CalDavCommand();
    Values nameValues() const override { return {0, 1}; }
    QList<Option> options() const override;
    Result read(const Given& given) override;
    bool needsHelper() const override { return true; }
    int run(const CommandRun& run) const override;
    // What was asked, in the data folder of options.
    Asked asked(const CommandLine& options) const;

private:
    Asked m_asked;
};
