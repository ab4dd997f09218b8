#include "calendar/core/DateWords.h"

#include "calendar/core/DateText.h"
#include "calendar/core/HolidayCalendar.h"
#include "calendar/core/LunarDate.h"

#include <QRegularExpression>

namespace DateWords {

namespace {

// 0 to 31 from digits or Chinese numerals (两 for 2); -1 for anything else.
int number(QStringView text)
{
    bool ok = false;
    if (const int value = text.toInt(&ok); ok)
        return value;
    const int value = numeral(text);
    return value > 31 ? -1 : value;
}

int weekday(QChar c)
{
    if (c == u'天')
        return 7;
    const qsizetype i = DateText::weekdayNames().indexOf(c);
    return i < 0 ? 0 : int(i) + 1;
}

// The next day month/day falls on, from today.
QDate nextMonthDay(int month, int day, QDate today)
{
    for (int year = today.year(); year <= today.year() + 8; ++year) {
        const QDate date(year, month, day);
        if (date.isValid() && date >= today)
            return date;
    }
    return {};
}

struct Festival
{
    QStringList names;
    QString officialName; // as the arrangement names the holiday
    enum Kind
    {
        Fixed,
        Lunar,
        SolarTerm,
        LunarYearsEve // the day before 正月初一: 腊月三十, or 廿九 in a short 腊月
    } kind;
    int month = 0, day = 0;

    QDate next(QDate today) const
    {
        switch (kind) {
        case Fixed:
            return nextMonthDay(month, day, today);
        case Lunar:
            return LunarDate::next(month, day, today);
        case SolarTerm:
            return nextSolarTerm(names.first(), today);
        case LunarYearsEve:
            return LunarDate::next(1, 1, today.addDays(1)).addDays(-1);
        }
        return {};
    }
};

const QList<Festival> festivals = {
    {{QStringLiteral("元旦")}, QStringLiteral("元旦"), Festival::Fixed, 1, 1},
    // The traditional days that are no official holiday: no 假期 of their own.
    {{QStringLiteral("除夕"), QStringLiteral("大年三十")}, QString(), Festival::LunarYearsEve},
    {{QStringLiteral("元宵"), QStringLiteral("元宵节")}, QString(), Festival::Lunar, 1, 15},
    {{QStringLiteral("七夕"), QStringLiteral("七夕节")}, QString(), Festival::Lunar, 7, 7},
    {{QStringLiteral("重阳"), QStringLiteral("重阳节")}, QString(), Festival::Lunar, 9, 9},
    {{QStringLiteral("腊八"), QStringLiteral("腊八节")}, QString(), Festival::Lunar, 12, 8},
    {{QStringLiteral("小年")}, QString(), Festival::Lunar, 12, 23},
    {{QStringLiteral("春节"), QStringLiteral("过年")}, QStringLiteral("春节"), Festival::Lunar, 1, 1},
    {{QStringLiteral("清明"), QStringLiteral("清明节")}, QStringLiteral("清明节"), Festival::SolarTerm},
    {{QStringLiteral("劳动节"), QStringLiteral("五一")}, QStringLiteral("劳动节"), Festival::Fixed, 5, 1},
    {{QStringLiteral("端午"), QStringLiteral("端午节")}, QStringLiteral("端午节"), Festival::Lunar, 5, 5},
    {{QStringLiteral("中秋"), QStringLiteral("中秋节")}, QStringLiteral("中秋节"), Festival::Lunar, 8, 15},
    {{QStringLiteral("国庆"), QStringLiteral("国庆节"), QStringLiteral("十一")},
     QStringLiteral("国庆节"),
     Festival::Fixed,
     10,
     1},
};

// A lunar month and day without 农历 before it, when the words can only be lunar: 正月, 冬月 or
// 腊月, or a day written 初一 or 廿三. 八月十五 alone is 15 August.
bool onlyLunar(QStringView text)
{
    return text.startsWith(u"正月") || text.startsWith(u"冬月") || text.startsWith(u"腊月") ||
           text.contains(u'初') || text.contains(u'廿');
}

// As people type it: full-width digits and blanks are nothing to refuse.
QString plain(QStringView typed)
{
    return typed.toString().normalized(QString::NormalizationForm_KC).simplified().remove(u' ');
}

const QRegularExpression& monthDayPattern()
{
    static const QRegularExpression pattern(QStringLiteral("^(\\S+?)(?:月|-|/|\\.)(\\S+?)(?:日|号)?$"));
    return pattern;
}

const QRegularExpression& dayPattern()
{
    static const QRegularExpression pattern(QStringLiteral("^(\\S+?)(?:日|号)$"));
    return pattern;
}

QString refusal(QStringView text)
{
    return QStringLiteral(
               "无法识别的日期“%1”。可以写：今天、明天、周五、下周一、周末、3天后、月底、下月15号、"
               "12月20日、2027-01-05、国庆、除夕、农历八月十五、冬至")
        .arg(text.toString());
}

} // namespace

QString festivalOn(QDate date)
{
    return festivalOn(date, LunarDate::of(date), LunarDate::of(date.addDays(1)));
}

QString festivalOn(QDate date, const LunarDate& lunar, const LunarDate& tomorrow)
{
    for (const Festival& festival : festivals) {
        bool on = false;
        switch (festival.kind) {
        case Festival::Fixed:
            on = date.month() == festival.month && date.day() == festival.day;
            break;
        case Festival::Lunar:
            on = !lunar.leapMonth && lunar.month == festival.month && lunar.day == festival.day;
            break;
        case Festival::SolarTerm:
            on = solarTermOn(date) == festival.names.first();
            break;
        case Festival::LunarYearsEve:
            on = tomorrow.month == 1 && tomorrow.day == 1 && !tomorrow.leapMonth;
            break;
        }
        if (on)
            return festival.names.first();
    }
    return {};
}

int numeral(QStringView text)
{
    bool ok = false;
    if (const int value = text.toInt(&ok); ok)
        return value >= 0 && value <= 99 ? value : -1;
    static const QString digits = QStringLiteral("一二三四五六七八九");
    const auto digit = [](QChar c) {
        if (c == u'两')
            return 2;
        if (c == u'零' || c == u'〇')
            return 0;
        const qsizetype i = digits.indexOf(c);
        return i < 0 ? -1 : int(i) + 1;
    };
    if (text.size() == 1)
        return text[0] == u'十' ? 10 : digit(text[0]);
    // 十一 to 十九, 二十, 二十一 to 九十九.
    int tens = -1, ones = -1;
    if (text.size() == 2 && text[0] == u'十') {
        tens = 1;
        ones = digit(text[1]);
    } else if (text.size() == 2 && text[1] == u'十') {
        tens = digit(text[0]);
        ones = 0;
    } else if (text.size() == 3 && text[1] == u'十') {
        tens = digit(text[0]);
        ones = digit(text[2]);
    }
    if (tens < 1 || ones < 0)
        return -1;
    return tens * 10 + ones;
}

namespace {

// What was typed, as each form of words reads it.
struct Typed
{
    QStringView typed;   // as typed, for a refusal
    const QString& text; // blanks and full-width forms made plain
    QDate today;
    const HolidayCalendar& holidays;
};

// A form of words: the date it says, its refusal, or nothing when the words are of another form.
using Read = std::optional<ResultOf<QDate>>;

ResultOf<QDate> noSuchDay(const Typed& t)
{
    return Result::failed(QStringLiteral("没有这一天：%1").arg(t.typed.toString()));
}

// 今天, 明天, 后天, 大后天, 第二天.
Read relativeDay(const Typed& t)
{
    static const QStringList relative = {QStringLiteral("今天"), QStringLiteral("明天"),
                                         QStringLiteral("后天"), QStringLiteral("大后天")};
    if (const qsizetype days = relative.indexOf(t.text); days >= 0)
        return t.today.addDays(days);
    if (t.text == QStringLiteral("第二天"))
        return t.today.addDays(1);
    return std::nullopt;
}

// 明年3月1日, 明年元旦: the same words from the first day of next year.
Read nextYear(const Typed& t)
{
    if (!t.text.startsWith(QStringLiteral("明年")) || t.text.size() <= 2)
        return std::nullopt;
    const ResultOf<QDate> date = parse(t.text.sliced(2), QDate(t.today.year() + 1, 1, 1), t.holidays);
    return date ? date : ResultOf<QDate>(Result::failed(refusal(t.typed)));
}

// 下月初, 下个月底, 下月15号.
Read nextMonth(const Typed& t)
{
    for (const QString& prefix : {QStringLiteral("下个月"), QStringLiteral("下月")}) {
        if (!t.text.startsWith(prefix))
            continue;
        const QStringView rest = QStringView(t.text).sliced(prefix.size());
        const QDate first = QDate(t.today.year(), t.today.month(), 1).addMonths(1);
        if (rest == u"初")
            return first;
        if (rest == u"底")
            return QDate(first.year(), first.month(), first.daysInMonth());
        if (const std::optional<int> day = dayOfMonthNamed(rest)) {
            if (const QDate date(first.year(), first.month(), *day); date.isValid())
                return date;
            return noSuchDay(t);
        }
    }
    return std::nullopt;
}

// 周末, 下周末, 这周三, 月底, 年底. The coming weekend is its Saturday, or today while it lasts;
// next week's is a week on.
Read thisWeekOrMonth(const Typed& t)
{
    const int dayOfWeek = t.today.dayOfWeek();
    if (t.text == QStringLiteral("周末") || t.text == QStringLiteral("这周末") ||
        t.text == QStringLiteral("本周末"))
        return dayOfWeek >= 6 ? t.today : t.today.addDays(6 - dayOfWeek);
    if (t.text == QStringLiteral("下周末"))
        return t.today.addDays(7 + 6 - dayOfWeek);
    static const QRegularExpression thisWeek(
        QStringLiteral("^(?:这|本)(?:周|星期|礼拜)([一二三四五六日天])$"));
    if (const QRegularExpressionMatch m = thisWeek.match(t.text); m.hasMatch())
        return t.today.addDays(weekday(m.captured(1)[0]) - dayOfWeek);
    if (t.text == QStringLiteral("月底") || t.text == QStringLiteral("本月底"))
        return QDate(t.today.year(), t.today.month(), t.today.daysInMonth());
    if (t.text == QStringLiteral("年底"))
        return QDate(t.today.year(), 12, 31);
    return std::nullopt;
}

// 周五, 下周一, 下下星期三.
Read weekdayNamed(const Typed& t)
{
    static const QRegularExpression week(QStringLiteral("^((?:下)*)(?:周|星期|礼拜)([一二三四五六日天])$"));
    const QRegularExpressionMatch m = week.match(t.text);
    if (!m.hasMatch())
        return std::nullopt;
    const int wanted = weekday(m.captured(2)[0]);
    const int weeksOn = int(m.capturedLength(1));
    if (weeksOn == 0) // the coming one, today's being today
        return t.today.addDays((wanted - t.today.dayOfWeek() + 7) % 7);
    // 下周一: that day of the week after this one (Monday to Sunday).
    return t.today.addDays(7 * weeksOn + wanted - t.today.dayOfWeek());
}

// 3天后, 两周后, 半个月后, 一年后.
Read later(const Typed& t)
{
    static const QRegularExpression after(QStringLiteral("^(\\S+?)(?:个)?(天|周|星期|礼拜|月|年)后$"));
    const QRegularExpressionMatch m = after.match(t.text);
    if (!m.hasMatch())
        return std::nullopt;
    const int n = number(m.captured(1));
    const QString unit = m.captured(2);
    // 半个月后 is fifteen days on, 半年后 six months.
    if (m.captured(1) == QStringLiteral("半") && unit == QStringLiteral("月"))
        return t.today.addDays(15);
    if (m.captured(1) == QStringLiteral("半") && unit == QStringLiteral("年"))
        return t.today.addMonths(6);
    if (n < 0)
        return std::nullopt;
    if (unit == QStringLiteral("天"))
        return t.today.addDays(n);
    if (unit == QStringLiteral("月"))
        return t.today.addMonths(n);
    if (unit == QStringLiteral("年"))
        return t.today.addYears(n);
    return t.today.addDays(7 * n);
}

// 2027-01-05, 2027/1/5, 2027年1月5日.
Read fullDate(const Typed& t)
{
    static const QRegularExpression full(
        QStringLiteral("^(\\d{4})(?:[-/.年])(\\d{1,2})(?:[-/.月])(\\d{1,2})日?$"));
    const QRegularExpressionMatch m = full.match(t.text);
    if (!m.hasMatch())
        return std::nullopt;
    const QDate date(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    return date.isValid() ? ResultOf<QDate>(date) : noSuchDay(t);
}

// 农历八月十五, 正月初一, 腊月廿三: the next such day, never in a leap month.
Read lunarDate(const Typed& t)
{
    const bool said = t.text.startsWith(QStringLiteral("农历"));
    const QStringView lunar = QStringView(t.text).sliced(said ? 2 : 0);
    if (!said && !onlyLunar(lunar))
        return std::nullopt;
    const auto monthDay = LunarDate::monthDayNamed(lunar);
    if (!monthDay)
        return std::nullopt;
    const QDate date = LunarDate::next(monthDay->first, monthDay->second, t.today);
    return date.isValid() ? ResultOf<QDate>(date) : noSuchDay(t);
}

// 12月20日, the next one.
Read monthDay(const Typed& t)
{
    const QRegularExpressionMatch m = monthDayPattern().match(t.text);
    if (!m.hasMatch())
        return std::nullopt;
    const int month = number(m.captured(1)), day = number(m.captured(2));
    if (month < 1 || month > 12 || day < 1)
        return std::nullopt;
    const QDate date = nextMonthDay(month, day, t.today);
    return date.isValid() ? ResultOf<QDate>(date) : noSuchDay(t);
}

// 15号: this month's when still to come, else the next month that has it.
Read dayOfMonth(const Typed& t)
{
    const QRegularExpressionMatch m = dayPattern().match(t.text);
    if (!m.hasMatch())
        return std::nullopt;
    const int day = number(m.captured(1));
    for (int months = 0; day >= 1 && months <= 2; ++months) {
        const QDate first = QDate(t.today.year(), t.today.month(), 1).addMonths(months);
        const QDate date(first.year(), first.month(), day);
        if (date.isValid() && date >= t.today)
            return date;
    }
    return std::nullopt;
}

// The festivals by the names people use: the day itself is a fixed date, a lunar date or a solar
// term; only the holiday's first day off (国庆假期) needs the official arrangement.
Read festivalNamed(const Typed& t)
{
    for (const Festival& festival : festivals) {
        if (festival.names.contains(t.text))
            return festival.next(t.today);
        if (festival.officialName.isEmpty())
            continue;
        for (const QString& suffix : {QStringLiteral("假期"), QStringLiteral("放假")}) {
            if (!t.text.endsWith(suffix) || !festival.names.contains(t.text.chopped(suffix.size())))
                continue;
            if (const std::optional<QDate> date = t.holidays.nextHoliday(festival.officialName, t.today))
                return *date;
            return ResultOf<QDate>(
                Result::failed(QStringLiteral("还不知道下一个%1假期是哪天（节假日安排尚未收录）")
                                   .arg(festival.names.first())));
        }
    }
    // 冬至, 立春 and the other solar terms: the day the term begins in China.
    if (isSolarTerm(t.text))
        return nextSolarTerm(t.text, t.today);
    return std::nullopt;
}

// Tried in this order: the first form the words are of says the date.
constexpr Read (*forms[])(const Typed&) = {
    relativeDay, nextYear,  nextMonth, thisWeekOrMonth, weekdayNamed,  later,
    fullDate,    lunarDate, monthDay,  dayOfMonth,      festivalNamed,
};

} // namespace

ResultOf<QDate> parse(QStringView typed, QDate today, const HolidayCalendar& holidays)
{
    const QString text = plain(typed);
    if (text.isEmpty())
        return Result::failed(refusal(typed));
    const Typed words{typed, text, today, holidays};
    for (const auto form : forms)
        if (Read date = form(words))
            return std::move(*date);
    return Result::failed(refusal(typed));
}

QString describe(QDate date, QDate today, QTime time)
{
    const qint64 days = today.daysTo(date);
    const QString when = days == 0   ? QStringLiteral("今天")
                         : days == 1 ? QStringLiteral("明天")
                         : days > 1  ? QStringLiteral("%1 天后").arg(days)
                                     : QStringLiteral("%1 天前").arg(-days);
    return QStringLiteral("%1 星期%2%3（%4）")
        .arg(DateText::format(date))
        .arg(DateText::weekdayName(date.dayOfWeek()))
        .arg(time.isValid() ? u' ' + time.toString(QStringLiteral("HH:mm")) : QString())
        .arg(when);
}

std::optional<int> weekdayNamed(QStringView text)
{
    const QString day = plain(text);
    if (day.size() != 1 || weekday(day[0]) == 0)
        return std::nullopt;
    return weekday(day[0]);
}

std::optional<int> dayOfMonthNamed(QStringView text)
{
    const QRegularExpressionMatch m = dayPattern().match(plain(text));
    const int day = m.hasMatch() ? number(m.captured(1)) : -1;
    if (day < 1 || day > 31)
        return std::nullopt;
    return day;
}

std::optional<std::pair<int, int>> dayOfYearNamed(QStringView text)
{
    const QRegularExpressionMatch m = monthDayPattern().match(plain(text));
    if (!m.hasMatch())
        return std::nullopt;
    const int month = number(m.captured(1)), day = number(m.captured(2));
    // A leap year has every day there is.
    if (!QDate(2000, month, day).isValid())
        return std::nullopt;
    return std::pair{month, day};
}

} // namespace DateWords
