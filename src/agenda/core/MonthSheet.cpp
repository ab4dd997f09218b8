#include "agenda/core/MonthSheet.h"

#include "calendar/core/DateText.h"
#include "calendar/core/DateWords.h"
#include "calendar/core/HolidayCalendar.h"
#include "calendar/core/LunarDate.h"

namespace {

// The lunar year's name, 丙午: the sixty-year cycle counted from 甲子 (1984, 4 of the era).
QString cycleName(int lunarYear)
{
    static const QString stems = QStringLiteral("甲乙丙丁戊己庚辛壬癸");
    static const QString branches = QStringLiteral("子丑寅卯辰巳午未申酉戌亥");
    const int n = ((lunarYear - 4) % 60 + 60) % 60;
    return QString(stems[n % 10]) + branches[n % 12];
}

// A lunar day's name is its last two characters: 初七, 十五, 廿三, 三十.
QString monthName(const QString& lunar)
{
    return lunar.chopped(2);
}

// Columns a terminal gives the text: two for a wide (CJK) character.
int displayWidth(QStringView text)
{
    int width = 0;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        const bool wide = (u >= 0x1100 && u <= 0x115F) || (u >= 0x2E80 && u <= 0xA4CF) ||
                          (u >= 0xAC00 && u <= 0xD7A3) || (u >= 0xF900 && u <= 0xFAFF) ||
                          (u >= 0xFE30 && u <= 0xFE4F) || (u >= 0xFF00 && u <= 0xFF60) ||
                          (u >= 0xFFE0 && u <= 0xFFE6);
        width += wide ? 2 : 1;
    }
    return width;
}

QString rightTrimmed(QString text)
{
    while (!text.isEmpty() && text.back() == u' ')
        text.chop(1);
    return text;
}

QString padded(const QString& text, int width)
{
    return text + QString(std::max(0, width - displayWidth(text)), u' ');
}

} // namespace

MonthSheet::MonthSheet(int year, int month, const QList<AgendaItem>& items, QDate today,
                       const HolidayCalendar& holidays)
    : m_year(year), m_month(month), m_yearKnown(holidays.knows(year))
{
    const QDate first(year, month, 1);
    const QDate start = first.addDays(1 - first.dayOfWeek());
    const QDate end = start.addDays(41);
    m_days.reserve(42);
    // Each lunar date once: the festivals want the next day's as well.
    LunarDate next = LunarDate::of(start);
    for (QDate date = start; date <= end; date = date.addDays(1)) {
        Day day;
        day.date = date;
        day.inMonth = date.month() == month;
        const LunarDate lunar = next;
        next = LunarDate::of(date.addDays(1));
        day.lunar = lunar.text();
        const QString festival = DateWords::festivalOn(date, lunar, next);
        const QString term = solarTermOn(date);
        day.marks = festival == term || term.isEmpty() ? festival
                    : festival.isEmpty()               ? term
                                                       : festival + u' ' + term;
        day.note = !festival.isEmpty() ? festival
                   : !term.isEmpty()   ? term
                   : lunar.day == 1    ? monthName(day.lunar)
                                       : day.lunar.right(2);
        if (const std::optional<HolidayCalendar::Day> official = holidays.day(date))
            day.mark = official->off ? u'休' : u'班';
        m_days.append(day);
    }
    const auto place = [&](QDate date, const QString& text, bool overdue) {
        if (date < start || date > end)
            return;
        Day& day = m_days[start.daysTo(date)];
        day.items.append(text);
        if (overdue)
            ++day.overdue;
    };
    // A rule's days in the weeks, asked once for all the items that share it: a lunar date or
    // the official working days cost a calendar's arithmetic each.
    QList<std::pair<RepeatRule, QList<QDate>>> ruleDays;
    const auto daysOf = [&](const RepeatRule& rule) -> const QList<QDate>& {
        for (const auto& [known, days] : ruleDays)
            if (known == rule)
                return days;
        QList<QDate> days;
        for (QDate date = rule.next(start.addDays(-1), holidays);
             date.isValid() && date <= end && days.size() < 42; date = rule.next(date, holidays))
            days.append(date);
        ruleDays.append({rule, days});
        return ruleDays.last().second;
    };
    for (const AgendaItem& item : items) {
        // A repeating item says its rule, a subtask its parent: 交房租（每月）, 买瓷砖（属于：装修）.
        QStringList notes;
        if (item.repeat.kind != RepeatRule::None)
            notes.append(RepeatRule::kindName(item.repeat.kind));
        if (!item.structure.parent.isEmpty())
            notes.append(QStringLiteral("属于：") + item.structure.parent);
        const QString text = notes.isEmpty() ? item.text : item.text + u'（' + notes.join(u'，') + u'）';
        if (item.repeat.kind == RepeatRule::None) {
            place(item.finishDate, text, item.finishDate < today);
            continue;
        }
        // Every occurrence the weeks hold, from the one the item stands at.
        place(item.finishDate, text, item.finishDate < today);
        for (const QDate date : daysOf(item.repeat))
            if (date > item.finishDate)
                place(date, text, date < today);
    }
    const LunarDate middle = LunarDate::of(QDate(year, month, 15));
    const int lunarYear = middle.month > month ? year - 1 : year;
    m_lunarTitle = cycleName(lunarYear) + QStringLiteral("年 ") + monthName(middle.text());
}

QString MonthSheet::title() const
{
    return QStringLiteral("%1年%2月 · %3").arg(m_year).arg(m_month).arg(m_lunarTitle);
}

const MonthSheet::Day* MonthSheet::day(QDate date) const
{
    if (m_days.isEmpty())
        return nullptr;
    const qint64 at = m_days.first().date.daysTo(date);
    return at >= 0 && at < m_days.size() ? &m_days[at] : nullptr;
}

QString MonthSheet::dayWords(const Day& day)
{
    QString words =
        QStringLiteral("%1 星期%2 · 农历%3")
            .arg(DateText::monthDay(day.date), DateText::weekdayName(day.date.dayOfWeek()), day.lunar);
    if (!day.marks.isEmpty())
        words += QStringLiteral(" · ") + day.marks;
    return words + u'：' + (day.items.isEmpty() ? QStringLiteral("无日程") : day.items.join(u'、'));
}

QString MonthSheet::accessibleName(const Day& day)
{
    QStringList parts{
        QStringLiteral("%1年%2月%3日").arg(day.date.year()).arg(day.date.month()).arg(day.date.day()),
        QStringLiteral("星期") + DateText::weekdayName(day.date.dayOfWeek()), day.lunar};
    if (!day.marks.isEmpty())
        parts.append(day.marks);
    if (!day.mark.isNull())
        parts.append(day.mark);
    QString name = parts.join(u' ');
    if (!day.items.isEmpty()) {
        name += QStringLiteral(" %1 件").arg(day.items.size());
        if (day.overdue)
            name += QStringLiteral("（逾期 %1 件）").arg(day.overdue);
        name += u'：' + day.items.join(u'、');
    }
    return name;
}

QString MonthSheet::text() const
{
    // Each day in a column of eight: its number with 休 or 班, its note, and its count of items.
    constexpr int column = 8;
    QString out = title() + u'\n';
    if (!m_yearKnown)
        out += QStringLiteral("%1 年的节假日安排尚未收录\n").arg(m_year);
    for (const QChar w : DateText::weekdayNames())
        out += padded(QString(w), column);
    out = rightTrimmed(out) + u'\n';
    for (int week = 0; week < 6; ++week) {
        QString numbers, notes, counts;
        for (int i = 0; i < 7; ++i) {
            const Day& day = m_days[week * 7 + i];
            if (!day.inMonth) {
                numbers += QString(column, u' ');
                notes += QString(column, u' ');
                counts += QString(column, u' ');
                continue;
            }
            numbers +=
                padded(QString::number(day.date.day()) + (day.mark.isNull() ? QString() : QString(day.mark)),
                       column);
            notes += padded(day.note, column);
            counts += padded(day.items.isEmpty() ? QString()
                                                 : QStringLiteral("%1件%2")
                                                       .arg(day.items.size())
                                                       .arg(day.overdue ? QStringLiteral("!") : QString()),
                             column);
        }
        if (numbers.trimmed().isEmpty())
            continue;
        for (const QString& line : {numbers, notes, counts})
            out += rightTrimmed(line) + u'\n';
    }
    return out;
}
