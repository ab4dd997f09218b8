#pragma once

#include <QDate>
#include <QString>

class HolidayCalendar;

// A date as a person reads it in China: 2026年2月17日 星期二 · 农历正月初一 · 春节, with the
// holiday or make-up working day of the official arrangement, or else the solar term.
QString dayText(QDate date, const HolidayCalendar& holidays);
