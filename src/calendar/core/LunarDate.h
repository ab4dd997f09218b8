#pragma once

#include <QDate>
#include <QString>

#include <optional>
#include <utility>

// A day of the Chinese calendar, from ICU's.
struct LunarDate
{
    int month = 0; // 1 to 12
    int day = 0;   // 1 to 30
    bool leapMonth = false;

    static LunarDate of(QDate date);
    // The first day on or after from that is day of the lunar month (not a leap month); invalid
    // when none comes within three years.
    static QDate next(int month, int day, QDate from);
    // 正月初一, 闰四月十五, 腊月三十.
    QString text() const;
    // The month and day of 八月十五, 正月初一, 冬月廿九, 十一月初三, or 8-15; never a leap month.
    static std::optional<std::pair<int, int>> monthDayNamed(QStringView text);
};

// The solar term (节气) that begins on date in China's time, or empty.
QString solarTermOn(QDate date);
// Whether name is one of the 24 solar terms (立春 … 大寒).
bool isSolarTerm(QStringView name);
// The first day on or after from on which the solar term begins.
QDate nextSolarTerm(QStringView term, QDate from);
