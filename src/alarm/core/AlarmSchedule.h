#pragma once

#include <QDateTime>
#include <QString>

#include <optional>

// The days on which an alarm rings.
enum class Repeat
{
    Once,
    Daily,
    Weekdays,
    Weekends
};

namespace AlarmSchedule {

// An alarm found later than this (the machine slept, the clock was set forward) no longer rings:
// an alarm hours late is worse than none. It is reported as missed instead.
inline constexpr qint64 lateLimitMs = 30 * 60 * 1000;
// The rings of one alarm follow each other this far apart.
inline constexpr qint64 ringIntervalMs = 500;

bool ringsOn(Repeat repeat, QDate day);
// The first moment at or after from at which the time of day falls on one of repeat's days; every
// day counts for Once.
QDateTime next(QTime time, Repeat repeat, const QDateTime& from);

// How kestrin.ini writes it: "once", "daily", "weekdays", "weekends".
QString key(Repeat repeat);
std::optional<Repeat> fromKey(QStringView key);
// How the tool tip says it: "仅一次", "每天", "工作日", "周末".
QString name(Repeat repeat);

} // namespace AlarmSchedule
