#pragma once

#include <QString>

#include <functional>

class AgendaFolder;
class SyncHelper;
struct CommandLine;

// What a command runs with: the data folder, opened once for the process, and what was asked.
struct CommandRun
{
    AgendaFolder& folder;
    const CommandLine& options;
    QString program; // this program's file, for the autostart entry
    SyncHelper& helper;
    // The quick-add window; empty where there is none to open.
    std::function<int()> openWindow;
};
