#pragma once

#include "calendar/core/HolidayCalendar.h"
#include "platform/Result.h"

#include <QLockFile>
#include <QString>

#include <memory>
#include <optional>

class AgendaStore;
class Clock;
class TextFiles;
struct AgendaChange;
struct AgendaTable;

// The data folder as a command uses it, opened once a process: its paths, its lock, the files,
// the holidays read once, the agenda as it stands, and every change to it, handed to the copy
// running for the folder or made here.
class AgendaFolder
{
public:
    // disk: the folder's files as they are on disk; elsewhere: the second backup folder, or empty.
    AgendaFolder(TextFiles& disk, const QString& appDir, const QString& elsewhere, const Clock& clock);
    ~AgendaFolder();

    TextFiles& disk() const { return m_disk; }
    const QString& appDir() const { return m_appDir; }
    const QString& elsewhere() const { return m_elsewhere; }
    const Clock& clock() const { return m_clock; }
    QString path(const char* fileName) const;

    // The official arrangement: the years imported into the folder over the shipped ones.
    const HolidayCalendar& holidays();
    // The agenda as it stands, the repeating items' rules with them, counted from today; read at
    // the first ask, never written. Fails with the file and line that do not read.
    ResultOf<const AgendaTable*> agenda();
    // Hands change to the copy running for the folder, which makes and shows it; with none
    // running, makes it here in a session over the folder, holding the folder's lock meanwhile,
    // after the day's backup.
    Result apply(const AgendaChange& change);

    // The folder's lock, as the running copy holds it: while held here, no copy starts writing.
    std::unique_ptr<QLockFile> lock() const;
    // "kestrin: Kestrin 正在使用 …", the start of what a script says when a copy holds the folder.
    QString inUse() const;

private:
    TextFiles& m_disk;
    QString m_appDir;
    QString m_elsewhere;
    const Clock& m_clock;
    std::optional<HolidayCalendar> m_holidays;
    std::unique_ptr<AgendaStore> m_store;
    Result m_loaded = Result::done();
};
