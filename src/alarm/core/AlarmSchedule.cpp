#include "alarm/core/AlarmSchedule.h"

#include <array>

namespace AlarmSchedule {

namespace {

struct Kind
{
    Repeat repeat;
    const char16_t* key;
    const char16_t* name;
};

constexpr std::array<Kind, 4> kinds{{{Repeat::Once, u"once", u"仅一次"},
                                     {Repeat::Daily, u"daily", u"每天"},
                                     {Repeat::Weekdays, u"weekdays", u"工作日"},
                                     {Repeat::Weekends, u"weekends", u"周末"}}};

const Kind& kind(Repeat repeat)
{
    return kinds[size_t(repeat)];
}

} // namespace

bool ringsOn(Repeat repeat, QDate day)
{
    const bool weekend = day.dayOfWeek() >= Qt::Saturday;
    switch (repeat) {
    case Repeat::Weekdays:
        return !weekend;
    case Repeat::Weekends:
        return weekend;
    default:
        return true;
    }
}

QDateTime next(QTime time, Repeat repeat, const QDateTime& from)
{
    // A week and a day reach every kind's next day from any starting moment.
    for (int d = 0; d <= 8; ++d) {
        const QDate day = from.date().addDays(d);
        if (!ringsOn(repeat, day))
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
    return QString::fromUtf16(kind(repeat).name);
}

} // namespace AlarmSchedule
