#pragma once

struct CommandRun;

// What only the sync helper does, the one process that loads the network and libical: the
// program hands these over to it, the helper does them. Each returns the exit code.
class SyncHelper
{
public:
    virtual ~SyncHelper() = default;
    virtual int caldav(const CommandRun& run) = 0;
    virtual int sync(const CommandRun& run) = 0;
    // --holidays with a holiday calendar in iCalendar.
    virtual int importCalendar(const CommandRun& run) = 0;
    // --export to an iCalendar file.
    virtual int exportCalendar(const CommandRun& run) = 0;
};
