#include "calendar/core/RepeatRule.h"

#include "calendar/core/DateText.h"
#include "calendar/core/HolidayCalendar.h"
#include "calendar/core/LunarDate.h"

#include <QStringList>

#include <algorithm>

namespace {

struct KindName
{
    RepeatRule::Kind kind;
    const char16_t* name;
};

const KindName kindNames[] = {
    {RepeatRule::None, u"不重复"},          {RepeatRule::Daily, u"每天"},
    {RepeatRule::Weekly, u"每周"},          {RepeatRule::Weekdays, u"工作日"},
    {RepeatRule::Weekends, u"周末"},        {RepeatRule::OfficialWorkdays, u"法定工作日"},
    {RepeatRule::Monthly, u"每月"},         {RepeatRule::Yearly, u"每年"},
    {RepeatRule::LunarYearly, u"农历每年"},
};

// The day of month the rule keeps in a month of that length.
int dayIn(int day, int monthLength)
{
    return day == 0 ? monthLength : std::min(day, monthLength);
}

// The day of that month the rule keeps: a shorter month's last for a day it lacks.
QDate kept(int year, int month, int day)
{
    const QDate first(year, month, 1);
    return first.addDays(dayIn(day, first.daysInMonth()) - 1);
}

// The lunar month's first day and length, for the month on or after from.
std::optional<std::pair<QDate, int>> lunarMonth(int month, QDate from)
{
    const QDate first = LunarDate::next(month, 1, from);
    if (!first.isValid())
        return std::nullopt;
    const LunarDate last = LunarDate::of(first.addDays(29));
    return std::pair{first, last.day == 30 ? 30 : 29};
}

} // namespace

RepeatRule RepeatRule::of(Kind kind, QDate finish)
{
    RepeatRule rule{kind, 0, 0};
    switch (kind) {
    case Weekly:
        rule.day = finish.dayOfWeek();
        break;
    case Monthly:
        rule.day = finish.day();
        break;
    case Yearly:
        rule.month = finish.month();
        rule.day = finish.day();
        break;
    case LunarYearly: {
        // A leap month's day repeats in the plain month of that name.
        const LunarDate lunar = LunarDate::of(finish);
        rule.month = lunar.month;
        rule.day = lunar.day;
        break;
    }
    default:
        break;
    }
    return rule;
}

QDate RepeatRule::next(QDate after, const HolidayCalendar& holidays) const
{
    switch (kind) {
    case None:
        return {};
    case Daily:
        return after.addDays(1);
    case Weekly:
        return after.addDays((day - after.dayOfWeek() + 6) % 7 + 1);
    case Weekdays: {
        QDate date = after.addDays(1);
        while (date.dayOfWeek() > 5)
            date = date.addDays(1);
        return date;
    }
    case Weekends: {
        QDate date = after.addDays(1);
        while (date.dayOfWeek() < 6)
            date = date.addDays(1);
        return date;
    }
    case OfficialWorkdays: {
        QDate date = after.addDays(1);
        // A long holiday is some nine days off; a month is more than any arrangement has.
        for (int i = 0; i < 31 && !holidays.isWorkday(date); ++i)
            date = date.addDays(1);
        return date;
    }
    case Monthly: {
        const QDate here = kept(after.year(), after.month(), day);
        if (here > after)
            return here;
        const QDate nextMonth = after.addMonths(1);
        return kept(nextMonth.year(), nextMonth.month(), day);
    }
    case Yearly: {
        const QDate here = kept(after.year(), month, day);
        return here > after ? here : kept(after.year() + 1, month, day);
    }
    case LunarYearly: {
        // From a month back, so that this lunar year's month is found when after lies in it.
        QDate from = after.addDays(-31);
        for (int years = 0; years < 3; ++years) {
            const auto found = lunarMonth(month, from);
            if (!found)
                return {};
            const QDate date = found->first.addDays(dayIn(day, found->second) - 1);
            if (date > after)
                return date;
            from = found->first.addDays(found->second);
        }
        return {};
    }
    }
    return {};
}

bool RepeatRule::fallsOn(QDate day, const HolidayCalendar& holidays) const
{
    return kind == None || next(day.addDays(-1), holidays) == day;
}

QDate RepeatRule::following(QDate finish, QDate today, const HolidayCalendar& holidays) const
{
    const QDate next = this->next(finish, holidays);
    if (!next.isValid() || next >= today)
        return next;
    return this->next(today.addDays(-1), holidays);
}

QString RepeatRule::kindName(Kind kind)
{
    for (const KindName& entry : kindNames)
        if (entry.kind == kind)
            return QString::fromUtf16(entry.name);
    return {};
}

std::optional<RepeatRule::Kind> RepeatRule::kindNamed(QStringView name)
{
    for (const KindName& entry : kindNames)
        if (name == QStringView(entry.name))
            return entry.kind;
    return std::nullopt;
}

QString RepeatRule::dayText() const
{
    switch (kind) {
    case Weekly:
        return dayField();
    case Monthly:
        return day == 0 ? dayField() : QStringLiteral("%1 日").arg(day);
    case Yearly:
        return QStringLiteral("%1 月 %2 日").arg(month).arg(day);
    case LunarYearly:
        return dayField();
    default:
        return {};
    }
}

QString RepeatRule::text() const
{
    if (kind == None)
        return {};
    const QString days = dayText();
    if (kind == Weekly)
        return QStringLiteral("每") + days; // 每周三, not 每周周三
    // A space between Chinese and digits, as the dates are written elsewhere.
    const bool digits = !days.isEmpty() && days.front().isDigit();
    return kindName(kind) + (digits ? QStringLiteral(" ") : QString()) + days;
}

QString RepeatRule::dayField() const
{
    switch (kind) {
    case Weekly:
        return QStringLiteral("周") + DateText::weekdayName(day);
    case Monthly:
        return day == 0 ? QStringLiteral("月底") : QString::number(day);
    case Yearly:
        return QStringLiteral("%1-%2").arg(month).arg(day);
    case LunarYearly:
        return LunarDate{month, day, false}.text();
    default:
        return {};
    }
}

std::optional<RepeatRule> RepeatRule::fromFields(QStringView kindText, QStringView dayText)
{
    const std::optional<Kind> kind = kindNamed(kindText);
    if (!kind || *kind == None)
        return std::nullopt;
    RepeatRule rule{*kind, 0, 0};
    switch (*kind) {
    case Weekly: {
        const qsizetype at = dayText.size() == 2 && dayText.startsWith(u'周')
                                 ? DateText::weekdayNames().indexOf(dayText.at(1))
                                 : -1;
        if (at < 0)
            return std::nullopt;
        rule.day = int(at) + 1;
        return rule;
    }
    case Monthly: {
        if (dayText == QStringLiteral("月底"))
            return rule;
        const auto day = DateText::number(dayText, 1, 31);
        if (!day)
            return std::nullopt;
        rule.day = *day;
        return rule;
    }
    case Yearly: {
        const qsizetype dash = dayText.indexOf(u'-');
        const auto month = dash > 0 ? DateText::number(dayText.left(dash), 1, 12) : std::nullopt;
        const auto day = dash > 0 ? DateText::number(dayText.mid(dash + 1), 1, 31) : std::nullopt;
        if (!month || !day || !QDate(2024, *month, *day).isValid())
            return std::nullopt;
        rule.month = *month;
        rule.day = *day;
        return rule;
    }
    case LunarYearly: {
        const auto monthDay = LunarDate::monthDayNamed(dayText);
        if (!monthDay)
            return std::nullopt;
        rule.month = monthDay->first;
        rule.day = monthDay->second;
        return rule;
    }
    default:
        return dayText.isEmpty() ? std::optional<RepeatRule>(rule) : std::nullopt;
    }
}
