#pragma once

#include <QString>

#include <functional>

class Clock;
class SyncHelper;
class TextFiles;
struct CommandLine;

// What a command runs with. disk: the data folder's files as they are on disk.
struct CommandRun
{
    TextFiles& disk;
    const CommandLine& options;
    const Clock& clock;
    QString elsewhere; // the second backup folder; empty for none
    QString program;   // this program's file, for the autostart entry
    SyncHelper& helper;
    // The quick-add window; empty where there is none to open.
    std::function<int()> openWindow;
};
