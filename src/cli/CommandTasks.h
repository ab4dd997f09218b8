#pragma once

#include "agenda/core/AgendaItem.h"

#include "calendar/core/HolidayFile.h"

#include <QString>
#include <QStringList>

#include <functional>

#include <cstdio>

class Clock;
class TextFiles;
struct CommandLine;

// What the program does for a script, without a display: each prints what it did (UTF-8) and
// returns the exit code, 0 done, 1 refused. disk: the data folder's files as they are on disk.
namespace CommandTasks {

int listBackups(TextFiles& disk, const CommandLine& options, const QString& elsewhere);
int restore(TextFiles& disk, const CommandLine& options, const QString& elsewhere);
// --list and --log print every line, or with --find those that match; exit 1 when none does.
int listAgenda(TextFiles& disk, const CommandLine& options, const Clock& clock);
int listLog(TextFiles& disk, const CommandLine& options);
// Hands the addition to the copy running for the folder, which writes it and shows it; with no
// copy running, writes it here, holding the folder's lock meanwhile, after the day's backup.
int add(TextFiles& disk, const CommandLine& options, const QString& elsewhere, const Clock& clock);
// The add itself, for --add and the quick-add window, of an item read from the words typed
// (ItemWords); "已添加：…" when done.
ResultOf<QString> addItem(TextFiles& disk, const QString& appDir, const QString& elsewhere,
                          const Clock& clock, const AgendaItem& item);
// --repeat TEXT KIND and --done TEXT, to the running copy or written here as --add is.
int repeat(TextFiles& disk, const CommandLine& options, const QString& elsewhere, const Clock& clock);
int done(TextFiles& disk, const CommandLine& options, const QString& elsewhere, const Clock& clock);
// Prints a backup's problems; a backup never stops the change it comes before.
void printBackupProblems(const Result& backup);
int autostart(const CommandLine& options, const QString& program);

using HolidayReader = std::function<ResultOf<HolidayRead>(const QByteArray& bytes, const QString& source)>;
// Lists the years known, or imports --holidays' file through reader into the data folder.
int holidays(TextFiles& disk, const CommandLine& options, const HolidayReader& reader);
// The program's own text form, UTF-8 or GB18030.
ResultOf<HolidayRead> readHolidayText(const QByteArray& bytes, const QString& source);
// Sets the daily word's time, or turns it off, and tells the running copy.
int remind(const CommandLine& options);
// Whether bytes are an iCalendar file, which only the helper (with libical) reads.
bool isICalendar(const QByteArray& bytes);

void print(std::FILE* to, const QString& text);

} // namespace CommandTasks
