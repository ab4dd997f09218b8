#pragma once

#include "calendar/core/HolidayCalendar.h"

#include <QStringList>

class TextFiles;

// holidays.txt in the data folder: the years the user imported, in the program's text form
// (GB18030, CR LF), each replacing the shipped year of that number.
// What a holiday file holds, as one reader reads it, with the events it left aside.
struct HolidayRead
{
    HolidayCalendar calendar;
    QStringList ignored; // for the user: what was neither a holiday nor a make-up day
};

namespace HolidayFile {

inline constexpr char fileName[] = "holidays.txt";

// The shipped arrangement with the folder's years over it. A file that does not read fails, and
// the shipped arrangement is all there is.
ResultOf<HolidayCalendar> load(const TextFiles& files, const QString& dataDir);
// The same, the shipped arrangement alone where the folder's file does not read: for those that
// only show dates, and leave telling of the file to the alarms.
HolidayCalendar loadOrShipped(const TextFiles& files, const QString& dataDir);
// Adds the years of imported to the folder's file, replacing those years there.
Result import(TextFiles& files, const QString& dataDir, const HolidayCalendar& imported);
// The program's text form from bytes a user wrote: UTF-8 when they are, GB18030 otherwise.
ResultOf<HolidayCalendar> parseBytes(const QByteArray& bytes, const QString& source);

} // namespace HolidayFile
