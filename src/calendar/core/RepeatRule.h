#pragma once

#include "calendar/core/Repeat.h"

#include <QDate>
#include <QString>

#include <optional>

class HolidayCalendar;

// How an item comes back once done: its kind and the day it keeps (a weekday, a day of the month,
// a day of the year, a day of the lunar year), taken from the finish date when it is chosen.
// The day kept: Weekly's day 1 (Monday) to 7; Monthly's day 1 to 31, falling on a shorter month's
// last, or 0 for always the last; Yearly's month and day, 2-29 falling on 2-28 in a common year;
// LunarYearly's lunar month and day, never a leap month, 三十 falling on 廿九 in a short month.
struct RepeatRule
{
    using Kind = Repeat;
    using enum Repeat;

    Kind kind = None;
    int month = 0;
    int day = 0;

    // The rule of that kind kept by finish: its weekday, its day, its lunar day.
    static RepeatRule of(Kind kind, QDate finish);
    // The first date of the rule after after; invalid for None.
    QDate next(QDate after, const HolidayCalendar& holidays) const;
    // Whether day is one of the rule's days; every day is for None, which comes once.
    bool fallsOn(QDate day, const HolidayCalendar& holidays) const;
    // The date the item moves to when this occurrence is done: the first after finish, or the
    // first not before today when that is already past.
    QDate following(QDate finish, QDate today, const HolidayCalendar& holidays) const;

    // 每月 15 日, 每周三, 每年 12 月 15 日, 农历每年八月十五, 工作日…; empty for None.
    QString text() const;
    // The day the rule keeps, as a person reads it: 周三, 15 日, 月底, 12 月 15 日, 八月十五; empty
    // for a kind that keeps none.
    QString dayText() const;
    // The kind's own word: 每天, 每周, 工作日, 周末, 法定工作日, 每月, 每年, 农历每年, 不重复.
    static QString kindName(Kind kind);
    static std::optional<Kind> kindNamed(QStringView name);
    // The day the rule keeps as the file writes it: 3, 15, 月底, 12-15, 8-15; empty when none.
    QString dayField() const;
    // The rule a kind's word and its day field make; nothing when they do not fit.
    static std::optional<RepeatRule> fromFields(QStringView kind, QStringView day);

    bool operator==(const RepeatRule&) const = default;
};
