#include "alarm/core/AlarmSchedule.h"

#include "calendar/core/DateText.h"
#include "calendar/core/HolidayCalendar.h"
#include "calendar/core/RepeatRule.h"

#include <array>

namespace AlarmSchedule {

namespace {

struct Kind
{
    Repeat repeat;
    const char16_t* key; // as kestrin.ini writes it
};

// The kinds an alarm has; their names are the items' (RepeatRule::kindName) but for once.
constexpr std::array<Kind, 5> kinds{{{Repeat::None, u"once"},
                                     {Repeat::Daily, u"daily"},
                                     {Repeat::Weekdays, u"weekdays"},
                                     {Repeat::Weekends, u"weekends"},
                                     {Repeat::OfficialWorkdays, u"official-workdays"}}};

// Empty words for a kind no alarm has.
const Kind& kind(Repeat repeat)
{
    static constexpr Kind none{Repeat::None, u""};
    for (const Kind& k : kinds)
        if (k.repeat == repeat)
            return k;
    return none;
}

} // namespace

bool ringsOn(Repeat repeat, QDate day, const HolidayCalendar* holidays)
{
    // Without an arrangement the official working days are Monday to Friday.
    if (repeat == Repeat::OfficialWorkdays && !holidays)
        repeat = Repeat::Weekdays;
    static const HolidayCalendar none;
    return RepeatRule{repeat, 0, 0}.fallsOn(day, holidays ? *holidays : none);
}

QDateTime next(QTime time, Repeat repeat, const QDateTime& from, const HolidayCalendar* holidays)
{
    // A month reaches every kind's next day, the longest official holiday with its weekends included.
    for (int d = 0; d <= 31; ++d) {
        const QDate day = from.date().addDays(d);
        if (!ringsOn(repeat, day, holidays))
            continue;
        QDateTime at(day, time);
        // A time the clock skips as summer time begins: as long after midnight as time says.
        if (!at.isValid())
            at = QDateTime(day, QTime(0, 0)).addMSecs(time.msecsSinceStartOfDay());
        if (at >= from)
            return at;
    }
    return {};
}

QString officialNote(QTime time, const QDateTime& from, const HolidayCalendar& holidays)
{
    const QDateTime official = next(time, Repeat::OfficialWorkdays, from, &holidays);
    const QDateTime plain = next(time, Repeat::Weekdays, from);
    if (!official.isValid() || !plain.isValid())
        return {};
    const QDate day = official.date();
    if (!holidays.knows(day.year()))
        return QStringLiteral("%1 年的节假日安排尚未收录，按周一至周五响铃").arg(day.year());
    if (official == plain)
        return {};
    const QString when = QStringLiteral("下次：") + DateText::monthDay(day);
    if (day.dayOfWeek() >= Qt::Saturday)
        return when + QStringLiteral("（调休上班，星期%1）").arg(DateText::weekdayName(day.dayOfWeek()));
    const std::optional<HolidayCalendar::Day> skipped = holidays.day(plain.date());
    return when + QStringLiteral("（%1后）").arg(skipped ? skipped->name : QStringLiteral("假期"));
}

QString key(Repeat repeat)
{
    return QString::fromUtf16(kind(repeat).key);
}

std::optional<Repeat> fromKey(QStringView key)
{
    for (const Kind& k : kinds)
        if (key == QStringView(k.key))
            return k.repeat;
    return std::nullopt;
}

QString name(Repeat repeat)
{
    if (repeat == Repeat::None)
        return QStringLiteral("仅一次");
    return kind(repeat).key[0] ? RepeatRule::kindName(repeat) : QString();
}

} // namespace AlarmSchedule
