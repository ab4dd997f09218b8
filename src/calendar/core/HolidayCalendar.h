#pragma once

#include "platform/Result.h"

#include <QDate>
#include <QList>
#include <QMap>
#include <QSet>
#include <QString>

#include <optional>

// China's official arrangement of days: the holidays (休) and the weekend days worked to make up
// for them (班), year by year. A year it knows is known whole; for any other, working days are
// Monday to Friday.
class HolidayCalendar
{
public:
    struct Day
    {
        QDate date;
        bool off = true; // a holiday; false: a make-up working day
        QString name;    // the holiday's, as the notice names it
        bool operator==(const Day&) const = default;
    };

    // The program's own text form: a date or a span (2026-01-01~2026-01-03), 休 or 班, a name;
    // # begins a comment. A line that does not read fails the whole, naming source and line.
    static ResultOf<HolidayCalendar> parse(QStringView text, const QString& source);
    // The arrangement shipped with the program.
    static const HolidayCalendar& builtIn();
    QString format() const;

    // The years of other replace this calendar's for those years; the rest stay.
    void replaceYears(const HolidayCalendar& other);
    void add(const Day& day);

    bool knows(int year) const { return m_years.contains(year); }
    QList<int> years() const;
    // The day's entry, or nothing for an ordinary day or an unknown year.
    std::optional<Day> day(QDate date) const;
    // A working day by the official arrangement; Monday to Friday in a year it does not know.
    bool isWorkday(QDate date) const;
    // The first day of the holiday called name (元旦, 春节, 国庆节…) on or after from.
    std::optional<QDate> nextHoliday(QStringView name, QDate from) const;
    bool operator==(const HolidayCalendar&) const = default;

private:
    QMap<QDate, Day> m_days;
    QSet<int> m_years;
};
