#include "calendar/ical/HolidayICalendar.h"

#include <libical/ical.h>

#include <QRegularExpression>

#include <memory>

namespace {

struct ComponentFree
{
    void operator()(icalcomponent* component) const { icalcomponent_free(component); }
};

QDate dateOf(const icaltimetype& time)
{
    return icaltime_is_null_time(time) ? QDate() : QDate(time.year, time.month, time.day);
}

// The line on which the n-th VEVENT begins, for a message.
int eventLine(const QByteArray& bytes, int n)
{
    int line = 1, seen = 0;
    for (const QByteArray& text : bytes.split('\n')) {
        if (text.trimmed().toUpper() == "BEGIN:VEVENT" && seen++ == n)
            return line;
        ++line;
    }
    return line;
}

} // namespace

ResultOf<HolidayRead> readHolidayICalendar(const QByteArray& bytes, const QString& source)
{
    const std::unique_ptr<icalcomponent, ComponentFree> calendar(icalparser_parse_string(bytes.constData()));
    if (!calendar)
        return Result::failed(QStringLiteral("%1 不是可以读取的日历文件").arg(source));
    // 元旦休, 春节（休）, 国庆节 班: the kind is the last character, the name what comes before it.
    static const QRegularExpression ending(QStringLiteral("[\\s（()）·:：-]*([休班])[\\s）)]*$"));
    HolidayRead read;
    int n = 0;
    for (icalcomponent* event = icalcomponent_get_first_component(calendar.get(), ICAL_VEVENT_COMPONENT);
         event; event = icalcomponent_get_next_component(calendar.get(), ICAL_VEVENT_COMPONENT), ++n) {
        const QString summary = QString::fromUtf8(icalcomponent_get_summary(event)).trimmed();
        const QRegularExpressionMatch kind = ending.match(summary);
        if (!kind.hasMatch()) {
            read.ignored.append(
                QStringLiteral("“%1”（第 %2 行，既不是休也不是班）").arg(summary).arg(eventLine(bytes, n)));
            continue;
        }
        const QDate first = dateOf(icalcomponent_get_dtstart(event));
        QDate end = dateOf(icalcomponent_get_dtend(event));
        if (!end.isValid() || end <= first)
            end = first.addDays(1); // an all-day event's end is the day after its last
        const QString name = summary.left(kind.capturedStart()).trimmed();
        if (!first.isValid() || name.isEmpty() || first.daysTo(end) > 31)
            return Result::failed(
                QStringLiteral("%1 第 %2 行的事件“%3”无法读取：应是全天事件，有开始日期与节日名称")
                    .arg(source)
                    .arg(eventLine(bytes, n))
                    .arg(summary));
        for (QDate day = first; day < end; day = day.addDays(1))
            read.calendar.add({day, kind.captured(1) == QStringLiteral("休"), name});
    }
    return read;
}
