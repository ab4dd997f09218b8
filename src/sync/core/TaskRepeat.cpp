#include "sync/core/TaskRepeat.h"

#include <libical/ical.h>

#include <optional>

namespace TaskRepeat {

namespace {

const char* const weekdayCodes[] = {"MO", "TU", "WE", "TH", "FR", "SA", "SU"};

// libical's own spelling of a rule, so that two texts of one rule compare equal.
QByteArray normalized(const QByteArray& value)
{
    if (value.isEmpty())
        return {};
    icalrecurrencetype recurrence = icalrecurrencetype_from_string(value.constData());
    if (recurrence.freq == ICAL_NO_RECURRENCE)
        return {};
    char* text = icalrecurrencetype_as_string_r(&recurrence);
    const QByteArray result(text);
    icalmemory_free_buffer(text);
    free(recurrence.rscale);
    return result;
}

int count(const short* list, int size)
{
    int n = 0;
    while (n < size && list[n] != ICAL_RECURRENCE_ARRAY_MAX)
        ++n;
    return n;
}

// Monday 1 to Sunday 7, from libical's Sunday 1 to Saturday 7.
int weekdayOf(short byDay)
{
    const int day = icalrecurrencetype_day_day_of_week(byDay);
    return day == ICAL_SUNDAY_WEEKDAY ? 7 : day - 1;
}

std::optional<RepeatRule> fromRecurrence(const icalrecurrencetype& r, QDate finish)
{
    const int days = count(r.by_day, ICAL_BY_DAY_SIZE);
    const int monthDays = count(r.by_month_day, ICAL_BY_MONTHDAY_SIZE);
    const int months = count(r.by_month, ICAL_BY_MONTH_SIZE);
    const bool others = count(r.by_second, ICAL_BY_SECOND_SIZE) || count(r.by_minute, ICAL_BY_MINUTE_SIZE) ||
                        count(r.by_hour, ICAL_BY_HOUR_SIZE) || count(r.by_year_day, ICAL_BY_YEARDAY_SIZE) ||
                        count(r.by_week_no, ICAL_BY_WEEKNO_SIZE) || count(r.by_set_pos, ICAL_BY_SETPOS_SIZE);
    if (r.interval > 1 || r.count > 0 || !icaltime_is_null_time(r.until) || others || r.rscale ||
        !finish.isValid())
        return std::nullopt;
    for (int i = 0; i < days; ++i)
        if (icalrecurrencetype_day_position(r.by_day[i]) != 0)
            return std::nullopt;
    switch (r.freq) {
    case ICAL_DAILY_RECURRENCE:
        return days || monthDays || months ? std::nullopt : std::optional(RepeatRule{RepeatRule::Daily});
    case ICAL_WEEKLY_RECURRENCE:
        if (monthDays || months)
            return std::nullopt;
        if (days == 5) {
            for (int i = 0; i < 5; ++i)
                if (weekdayOf(r.by_day[i]) != i + 1)
                    return std::nullopt;
            return RepeatRule{RepeatRule::Weekdays};
        }
        if (days == 2) {
            const int first = weekdayOf(r.by_day[0]), second = weekdayOf(r.by_day[1]);
            if (std::min(first, second) == 6 && std::max(first, second) == 7)
                return RepeatRule{RepeatRule::Weekends};
            return std::nullopt;
        }
        if (days > 1)
            return std::nullopt;
        // The day the task is due on: a BYDAY of the start's day moves the due date with it.
        return RepeatRule::of(RepeatRule::Weekly, finish);
    case ICAL_MONTHLY_RECURRENCE:
        if (days || months || monthDays > 1)
            return std::nullopt;
        if (monthDays == 1 && r.by_month_day[0] == -1)
            return RepeatRule{RepeatRule::Monthly, 0, 0};
        if (monthDays == 1 && r.by_month_day[0] < 1)
            return std::nullopt;
        return RepeatRule::of(RepeatRule::Monthly, finish);
    case ICAL_YEARLY_RECURRENCE:
        if (days || months > 1 || monthDays > 1 || (monthDays == 1 && r.by_month_day[0] < 1))
            return std::nullopt;
        return RepeatRule::of(RepeatRule::Yearly, finish);
    default:
        return std::nullopt;
    }
}

} // namespace

QByteArray rrule(const RepeatRule& rule)
{
    switch (rule.kind) {
    case RepeatRule::Daily:
        return "FREQ=DAILY";
    case RepeatRule::Weekly:
        return QByteArray("FREQ=WEEKLY;BYDAY=") + weekdayCodes[rule.day - 1];
    case RepeatRule::Weekdays:
        return "FREQ=WEEKLY;BYDAY=MO,TU,WE,TH,FR";
    case RepeatRule::Weekends:
        return "FREQ=WEEKLY;BYDAY=SA,SU";
    case RepeatRule::Monthly:
        // The 29th to the 31st: a phone skips the months without it, where we take their last day.
        return "FREQ=MONTHLY;BYMONTHDAY=" + QByteArray::number(rule.day == 0 ? -1 : rule.day);
    case RepeatRule::Yearly:
        return "FREQ=YEARLY;BYMONTH=" + QByteArray::number(rule.month) +
               ";BYMONTHDAY=" + QByteArray::number(rule.day);
    default:
        return {};
    }
}

QByteArray ownValue(const RepeatRule& rule)
{
    if (rule.kind == RepeatRule::None)
        return {};
    const QString day = rule.dayField();
    return (RepeatRule::kindName(rule.kind) + (day.isEmpty() ? QString() : u' ' + day)).toUtf8();
}

RepeatRule held(const QByteArray& rruleValue, const QByteArray& own, QDate finish)
{
    const QByteArray theirs = normalized(rruleValue);
    if (!own.isEmpty()) {
        const QString text = QString::fromUtf8(own).trimmed();
        const qsizetype space = text.indexOf(u' ');
        const QStringView kind = QStringView(text).left(space < 0 ? text.size() : space);
        const QStringView day = space < 0 ? QStringView() : QStringView(text).mid(space + 1).trimmed();
        // Ours while the RRULE is the one we wrote, or its frequency alone as some phones write it
        // back; a phone that changed or dropped it has the last word.
        if (const std::optional<RepeatRule> rule = RepeatRule::fromFields(kind, day)) {
            const QByteArray mine = rrule(*rule);
            if (theirs == normalized(mine) ||
                (rule->kind != RepeatRule::Weekdays && rule->kind != RepeatRule::Weekends &&
                 !mine.isEmpty() && theirs == normalized(mine.split(';').first())))
                return *rule;
        }
    }
    if (theirs.isEmpty())
        return {};
    icalrecurrencetype recurrence = icalrecurrencetype_from_string(rruleValue.constData());
    const std::optional<RepeatRule> rule = fromRecurrence(recurrence, finish);
    free(recurrence.rscale);
    return rule.value_or(RepeatRule{});
}

} // namespace TaskRepeat
