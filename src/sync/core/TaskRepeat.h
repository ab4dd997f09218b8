#pragma once

#include "calendar/core/RepeatRule.h"

#include <QByteArray>
#include <QDate>
#include <QString>

// An agenda item's rule as a task carries it: an RRULE where a phone can follow it, and always our
// own in an X- property, which stays the truth where the RRULE is only the nearest.
namespace TaskRepeat {

inline constexpr char property[] = "X-KESTRIN-REPEAT";

// The RRULE value for the rule; empty for one a phone would misread (法定工作日, 农历每年) and for None.
QByteArray rrule(const RepeatRule& rule);
// The X- property's value: the kind's word and the day it keeps, as repeat.txt writes them.
QByteArray ownValue(const RepeatRule& rule);

// The rule a task holds, finish being its due date: ours while its RRULE is still the one we
// wrote for it (or that one's frequency alone), else the RRULE's when the agenda can hold that one; None for
// none, or for one it cannot (hourly, a count or an end, every other week, the second Monday…).
RepeatRule held(const QByteArray& rrule, const QByteArray& own, QDate finish);

} // namespace TaskRepeat
