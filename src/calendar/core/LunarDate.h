#pragma once

#include <QDate>
#include <QString>

// A day of the Chinese calendar, from ICU's.
struct LunarDate
{
    int month = 0; // 1 to 12
    int day = 0;   // 1 to 30
    bool leapMonth = false;

    static LunarDate of(QDate date);
    // 正月初一, 闰四月十五, 腊月三十.
    QString text() const;
};

// The solar term (节气) that begins on date in China's time, or empty.
QString solarTermOn(QDate date);
