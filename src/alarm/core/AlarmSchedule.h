#pragma once

#include "calendar/core/Repeat.h"

#include <QDateTime>
#include <QString>

#include <optional>

class HolidayCalendar;

namespace AlarmSchedule {

// An alarm found later than this (the machine slept, the clock was set forward) no longer rings:
// an alarm hours late is worse than none. It is reported as missed instead.
inline constexpr qint64 lateLimitMs = 30 * 60 * 1000;
// The rings of one alarm follow each other this far apart.
inline constexpr qint64 ringIntervalMs = 500;

// The kinds an alarm offers: None (once), Daily, Weekdays, Weekends, OfficialWorkdays.
// holidays: the official arrangement, for OfficialWorkdays; without it, Monday to Friday.
bool ringsOn(Repeat repeat, QDate day, const HolidayCalendar* holidays = nullptr);
// The first moment at or after from at which the time of day falls on one of repeat's days; every
// day counts for Once.
QDateTime next(QTime time, Repeat repeat, const QDateTime& from, const HolidayCalendar* holidays = nullptr);
// What an OfficialWorkdays alarm's tool tip adds: its next day and why, when that is not the
// next day of Monday to Friday; that its year's arrangement is not known, when it is not; or nothing.
QString officialNote(QTime time, const QDateTime& from, const HolidayCalendar& holidays);

// How kestrin.ini writes it: "once", "daily", "weekdays", "weekends", "official-workdays".
QString key(Repeat repeat);
std::optional<Repeat> fromKey(QStringView key);
// How the tool tip says it: "仅一次", "每天", "工作日", "周末", "法定工作日".
QString name(Repeat repeat);

} // namespace AlarmSchedule
