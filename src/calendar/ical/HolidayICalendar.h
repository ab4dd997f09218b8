#pragma once

#include "calendar/core/HolidayFile.h"

// A published Chinese holiday calendar (iCalendar, all-day events whose SUMMARY ends in 休 for a
// day off or 班 for a make-up working day), read with libical. Events of neither kind are left
// aside and named; an event whose dates do not read refuses the whole, with the line it begins on.
ResultOf<HolidayRead> readHolidayICalendar(const QByteArray& bytes, const QString& source);
