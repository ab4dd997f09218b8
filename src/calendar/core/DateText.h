#pragma once

#include "platform/Result.h"

#include <QDate>
#include <QString>
#include <QTime>

#include <optional>

// Dates as agenda.txt stores them and as the user reads and types them: "2002-12-27".
namespace DateText {

QString format(QDate date);
// The same at the end of to, without a string of its own: a find writes thousands of dates at once.
void appendTo(QString& to, QDate date);
// The same in ASCII at to, as agenda.txt's bytes hold it: the ten characters' end.
char* write(char* to, QDate date);
// Accepts a four-digit year (1000 to 9999), one- or two-digit month and day joined by hyphens
// (hand-edited files and hurried typing leave out the zeros); refuses empty text, anything more,
// and days that do not exist: for those the date is invalid. A plain QDate, not an optional: the
// optional's flag costs a stall on every date of a large agenda.
QDate read(QStringView text);
QDate read(QByteArrayView bytes);
// Digits alone, from low to high: a date's part written on its own (the 15 of 每月 15, the 8 of 8-15).
std::optional<int> number(QStringView text, int low, int high);
// A time of day as the files write it after a date: "15:00:00", or "15:00" and "9:05" by hand.
QTime readTime(QStringView text);
QTime readTime(QByteArrayView bytes);
// "15:00", as the user reads it.
QString formatTime(QTime time);
// "2026-12-10 15:00", or the date alone when time is invalid: a timed item's day in the log and
// the listings.
QString format(QDate date, QTime time);
// 一 to 日, the day of the week as 星期 and 周 are followed by: dayOfWeek 1 (Monday) to 7.
QChar weekdayName(int dayOfWeek);
// The seven in order, from Monday, to find a name in.
const QString& weekdayNames();
// "12月9日", a day of this year or near it as the user reads it.
QString monthDay(QDate date);
// The same with blanks around the date, as typed into a box.
// Refused with what was typed and the form wanted.
ResultOf<QDate> parse(QStringView text);

} // namespace DateText
