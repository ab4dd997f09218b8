#include "calendar/core/LunarDate.h"

#include "calendar/core/DateText.h"

#include <QStringList>

#include <unicode/ucal.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>

namespace {

struct CalendarCloser
{
    void operator()(UCalendar* calendar) const { ucal_close(calendar); }
};

// Days from 1970-01-01, at noon, so that no zone moves the day.
double noonMillis(QDate date)
{
    return (double(date.toJulianDay() - QDate(1970, 1, 1).toJulianDay()) + 0.5) * 86400000.0;
}

// The sun's apparent ecliptic longitude in degrees at the Julian day jd (Meeus, Astronomical
// Algorithms, ch. 25, low accuracy: about 0.01°, a quarter of an hour of a term's moment).
double sunLongitude(double jd)
{
    const double t = (jd - 2451545.0) / 36525.0;
    const double rad = M_PI / 180.0;
    const double l0 = 280.46646 + 36000.76983 * t + 0.0003032 * t * t;
    const double m = (357.52911 + 35999.05029 * t - 0.0001537 * t * t) * rad;
    const double c = (1.914602 - 0.004817 * t - 0.000014 * t * t) * std::sin(m) +
                     (0.019993 - 0.000101 * t) * std::sin(2 * m) + 0.000289 * std::sin(3 * m);
    const double omega = (125.04 - 1934.136 * t) * rad;
    const double apparent = l0 + c - 0.00569 - 0.00478 * std::sin(omega);
    return std::fmod(std::fmod(apparent, 360.0) + 360.0, 360.0);
}

// The moment of new moon number k (0: 2000-01-06) as a Julian day in dynamical time (Meeus,
// ch. 49: within a minute or so of the lunar theory).
double newMoon(double k)
{
    const double rad = M_PI / 180.0;
    const double t = k / 1236.85, t2 = t * t, t3 = t2 * t, t4 = t3 * t;
    double jde = 2451550.09766 + 29.530588861 * k + 0.00015437 * t2 - 0.000000150 * t3 + 0.00000000073 * t4;
    const double e = 1 - 0.002516 * t - 0.0000074 * t2;
    const double m = (2.5534 + 29.10535670 * k - 0.0000014 * t2 - 0.00000011 * t3) * rad;
    const double mm =
        (201.5643 + 385.81693528 * k + 0.0107582 * t2 + 0.00001238 * t3 - 0.000000058 * t4) * rad;
    const double f =
        (160.7108 + 390.67050284 * k - 0.0016118 * t2 - 0.00000227 * t3 + 0.000000011 * t4) * rad;
    const double om = (124.7746 - 1.56375588 * k + 0.0020672 * t2 + 0.00000215 * t3) * rad;
    using std::sin;
    jde += -0.40720 * sin(mm) + 0.17241 * e * sin(m) + 0.01608 * sin(2 * mm) + 0.01039 * sin(2 * f) +
           0.00739 * e * sin(mm - m) - 0.00514 * e * sin(mm + m) + 0.00208 * e * e * sin(2 * m) -
           0.00111 * sin(mm - 2 * f) - 0.00057 * sin(mm + 2 * f) + 0.00056 * e * sin(2 * mm + m) -
           0.00042 * sin(3 * mm) + 0.00042 * e * sin(m + 2 * f) + 0.00038 * e * sin(m - 2 * f) -
           0.00024 * e * sin(2 * mm - m) - 0.00017 * sin(om) - 0.00007 * sin(mm + 2 * m) +
           0.00004 * sin(2 * mm - 2 * f) + 0.00004 * sin(3 * m) + 0.00003 * sin(mm + m - 2 * f) +
           0.00003 * sin(2 * mm + 2 * f) - 0.00003 * sin(mm + m + 2 * f) + 0.00003 * sin(mm - m + 2 * f) -
           0.00002 * sin(mm - m - 2 * f) - 0.00002 * sin(3 * mm + m) + 0.00002 * sin(4 * mm);
    const double planets[][3] = {
        {299.77, 0.107408, 0.000325},  {251.88, 0.016321, 0.000165}, {251.83, 26.651886, 0.000164},
        {349.42, 36.412478, 0.000126}, {84.66, 18.206239, 0.000110}, {141.74, 53.303771, 0.000062},
        {207.14, 2.453732, 0.000060},  {154.84, 7.306860, 0.000056}, {34.52, 27.261239, 0.000047},
        {207.19, 0.121824, 0.000042},  {291.34, 1.844379, 0.000040}, {161.72, 24.198154, 0.000037},
        {239.56, 25.513099, 0.000035}, {331.55, 3.592518, 0.000023}};
    for (const auto& [base, perLunation, amplitude] : planets) {
        double angle = base + perLunation * k;
        if (&base == &planets[0][0])
            angle -= 0.009173 * t2;
        jde += amplitude * sin(angle * rad);
    }
    return jde;
}

// The day in China (UTC+8) of the new moon that begins the lunar month holding date.
QDate monthStart(QDate date)
{
    // Dynamical time runs about 69 s ahead of universal time in these years.
    const auto dayInChina = [](double jde) {
        return QDate::fromJulianDay(qint64(std::floor(jde - 69.0 / 86400.0 + 0.5 + 8.0 / 24.0)));
    };
    double k = std::floor((date.toJulianDay() - 2451550.1) / 29.530588861) + 1;
    QDate start = dayInChina(newMoon(k));
    while (start > date)
        start = dayInChina(newMoon(--k));
    return start;
}

// From 春分, the sun at 0°, every 15°.
constexpr std::array<const char16_t*, 24> terms{u"春分", u"清明", u"谷雨", u"立夏", u"小满", u"芒种",
                                                u"夏至", u"小暑", u"大暑", u"立秋", u"处暑", u"白露",
                                                u"秋分", u"寒露", u"霜降", u"立冬", u"小雪", u"大雪",
                                                u"冬至", u"小寒", u"大寒", u"立春", u"雨水", u"惊蛰"};

} // namespace

LunarDate LunarDate::of(QDate date)
{
    // ICU names the months, leap months included. Its own new moons are a few minutes off, which
    // puts a month's first day a day late when the new moon comes just before midnight in China
    // (2027's 正月初一, on 6 February, falls on the 7th): the days are counted from the new moon
    // computed more closely, and ICU is asked about the middle of that month.
    const QDate start = monthStart(date);
    UErrorCode status = U_ZERO_ERROR;
    const std::unique_ptr<UCalendar, CalendarCloser> calendar(
        ucal_open(u"UTC", -1, "zh_CN@calendar=chinese", UCAL_DEFAULT, &status));
    if (U_FAILURE(status))
        return {};
    ucal_setMillis(calendar.get(), noonMillis(start.addDays(14)), &status);
    LunarDate lunar;
    lunar.month = ucal_get(calendar.get(), UCAL_MONTH, &status) + 1;
    lunar.day = int(start.daysTo(date)) + 1;
    lunar.leapMonth = ucal_get(calendar.get(), UCAL_IS_LEAP_MONTH, &status) != 0;
    return U_SUCCESS(status) ? lunar : LunarDate{};
}

QDate LunarDate::next(int month, int day, QDate from)
{
    // Month by month: a lunar month has 29 or 30 days, so a step of 30 less the day reaches the
    // next month's first day or this month's last. Two lunar years always hold a plain month.
    QDate date = from;
    for (int steps = 0; steps < 80; ++steps) {
        const LunarDate lunar = of(date);
        if (lunar.month == 0)
            return {};
        if (lunar.month == month && !lunar.leapMonth && lunar.day <= day) {
            const QDate candidate = date.addDays(day - lunar.day);
            if (of(candidate).day == day)
                return candidate;
        }
        date = date.addDays(std::max(1, 30 - lunar.day));
    }
    return {};
}

QString LunarDate::text() const
{
    static const QString months[] = {QStringLiteral("正"), QStringLiteral("二"), QStringLiteral("三"),
                                     QStringLiteral("四"), QStringLiteral("五"), QStringLiteral("六"),
                                     QStringLiteral("七"), QStringLiteral("八"), QStringLiteral("九"),
                                     QStringLiteral("十"), QStringLiteral("冬"), QStringLiteral("腊")};
    static const QString digits = QStringLiteral("一二三四五六七八九十");
    if (month < 1 || month > 12 || day < 1 || day > 30)
        return {};
    QString dayText;
    if (day <= 10)
        dayText = QStringLiteral("初") + digits[day - 1];
    else if (day < 20)
        dayText = QStringLiteral("十") + digits[day - 11];
    else if (day == 20)
        dayText = QStringLiteral("二十");
    else if (day < 30)
        dayText = QStringLiteral("廿") + digits[day - 21];
    else
        dayText = QStringLiteral("三十");
    return (leapMonth ? QStringLiteral("闰") : QString()) + months[month - 1] + QStringLiteral("月") +
           dayText;
}

QString solarTermOn(QDate date)
{
    // The day from midnight to midnight in China (UTC+8), as Julian days.
    const double start = double(date.toJulianDay()) - 0.5 - 8.0 / 24.0;
    const double from = sunLongitude(start), to = sunLongitude(start + 1.0);
    const double reached = std::floor(to / 15.0) * 15.0;
    // The sun moves about 1° a day: a multiple of 15° passed in the day is the day's term.
    const bool crossed = to < from ? true : reached > from;
    if (!crossed)
        return {};
    return QString::fromUtf16(terms[size_t(std::lround(reached / 15.0)) % terms.size()]);
}

QDate nextSolarTerm(QStringView term, QDate from)
{
    for (QDate date = from; date <= from.addYears(1); date = date.addDays(1)) {
        if (solarTermOn(date) == term)
            return date;
    }
    return {};
}

std::optional<std::pair<int, int>> LunarDate::monthDayNamed(QStringView text)
{
    if (const qsizetype dash = text.indexOf(u'-'); dash > 0) {
        const auto month = DateText::number(text.left(dash), 1, 12);
        const auto day = DateText::number(text.mid(dash + 1), 1, 30);
        if (month && day)
            return std::pair{*month, *day};
        return std::nullopt;
    }
    static const QStringList months = {
        QStringLiteral("正月"), QStringLiteral("二月"), QStringLiteral("三月"),   QStringLiteral("四月"),
        QStringLiteral("五月"), QStringLiteral("六月"), QStringLiteral("七月"),   QStringLiteral("八月"),
        QStringLiteral("九月"), QStringLiteral("十月"), QStringLiteral("十一月"), QStringLiteral("十二月"),
        QStringLiteral("冬月"), QStringLiteral("腊月"), QStringLiteral("一月")};
    static const int monthNumbers[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 11, 12, 1};
    // The longest name that fits: 十一月, not 十月 and then 一.
    int month = 0;
    qsizetype used = 0;
    for (qsizetype i = 0; i < months.size(); ++i) {
        if (text.startsWith(months[i]) && months[i].size() > used) {
            month = monthNumbers[i];
            used = months[i].size();
        }
    }
    if (month == 0)
        return std::nullopt;
    const QStringView dayText = text.mid(used);
    for (int day = 1; day <= 30; ++day) {
        if (LunarDate{1, day, false}.text().mid(2) == dayText)
            return std::pair{month, day};
    }
    return std::nullopt;
}

bool isSolarTerm(QStringView name)
{
    return std::any_of(terms.cbegin(), terms.cend(),
                       [name](const char16_t* term) { return name == QStringView(term); });
}
