#include "calendar/core/HolidayCalendar.h"

#include "calendar/core/DateText.h"

extern const char holidayData[]; // holidays.txt, compiled in

namespace {

std::optional<QDate> readDate(QStringView text)
{
    const QDate date = QDate::fromString(text.toString(), QStringLiteral("yyyy-MM-dd"));
    return date.isValid() ? std::optional<QDate>(date) : std::nullopt;
}

struct Line
{
    QDate first, last;
    bool off = true;
    QString name;
};

// 2026-10-01~2026-10-07 休 国庆节, read by hand: the shipped arrangement is read at every start,
// and a regular expression there costs the program 0.4 MiB of resident memory.
std::optional<Line> readLine(QStringView line)
{
    const std::optional<QDate> first = readDate(line.left(10));
    std::optional<QDate> last = first;
    line = line.mid(10);
    if (line.startsWith(u'~')) {
        last = readDate(line.mid(1, 10));
        line = line.mid(11);
    }
    if (!first || !last || line.isEmpty() || !line[0].isSpace())
        return std::nullopt;
    line = line.trimmed();
    if (line.size() < 3 || (line[0] != u'休' && line[0] != u'班') || !line[1].isSpace())
        return std::nullopt;
    return Line{*first, *last, line[0] == u'休', line.mid(2).trimmed().toString()};
}

} // namespace

ResultOf<HolidayCalendar> HolidayCalendar::parse(QStringView text, const QString& source)
{
    HolidayCalendar calendar;
    int number = 0;
    for (QStringView line : text.split(u'\n')) {
        ++number;
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        const std::optional<Line> read = readLine(line);
        if (!read || read->last < read->first || read->first.year() != read->last.year())
            return Result::failed(QStringLiteral("%1 第 %2 行无法读取：%3（应为“2026-10-01~2026-10-07 休 "
                                                 "国庆节”或“2026-10-10 班 国庆节”）")
                                      .arg(source)
                                      .arg(number)
                                      .arg(line.toString()));
        for (QDate d = read->first; d <= read->last; d = d.addDays(1))
            calendar.add({d, read->off, read->name});
    }
    return calendar;
}

const HolidayCalendar& HolidayCalendar::builtIn()
{
    static const HolidayCalendar calendar =
        parse(QString::fromUtf8(holidayData), QStringLiteral("holidays.txt")).value();
    return calendar;
}

QString HolidayCalendar::format() const
{
    // Spans of one kind and name are written as spans, as the notices give them.
    QString text;
    const QList<Day> days = m_days.values();
    for (qsizetype i = 0; i < days.size();) {
        qsizetype j = i;
        while (j + 1 < days.size() && days[j + 1].date == days[j].date.addDays(1) &&
               days[j + 1].off == days[i].off && days[j + 1].name == days[i].name)
            ++j;
        text += DateText::format(days[i].date);
        if (j > i)
            text += u'~' + DateText::format(days[j].date);
        text += (days[i].off ? QStringLiteral(" 休 ") : QStringLiteral(" 班 ")) + days[i].name +
                QStringLiteral("\r\n");
        i = j + 1;
    }
    return text;
}

void HolidayCalendar::replaceYears(const HolidayCalendar& other)
{
    m_days.removeIf([&other](const auto& entry) { return other.knows(entry.key().year()); });
    for (const Day& day : other.m_days)
        m_days.insert(day.date, day);
    m_years.unite(other.m_years);
}

void HolidayCalendar::add(const Day& day)
{
    m_days.insert(day.date, day);
    m_years.insert(day.date.year());
}

QList<int> HolidayCalendar::years() const
{
    QList<int> years = m_years.values();
    std::sort(years.begin(), years.end());
    return years;
}

std::optional<HolidayCalendar::Day> HolidayCalendar::day(QDate date) const
{
    const auto found = m_days.constFind(date);
    return found == m_days.cend() ? std::nullopt : std::optional<Day>(*found);
}

bool HolidayCalendar::isWorkday(QDate date) const
{
    if (const std::optional<Day> entry = day(date))
        return !entry->off;
    return date.dayOfWeek() <= Qt::Friday;
}

std::optional<QDate> HolidayCalendar::nextHoliday(QStringView name, QDate from) const
{
    for (auto it = m_days.lowerBound(from); it != m_days.cend(); ++it) {
        if (!it->off || !it->name.split(u'、').contains(name))
            continue;
        // The first day of its span: a span already begun before from is not the next one.
        const std::optional<Day> before = day(it->date.addDays(-1));
        if (!before || !before->off || before->name != it->name)
            return it->date;
    }
    return std::nullopt;
}
