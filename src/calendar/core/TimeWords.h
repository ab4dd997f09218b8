#pragma once

#include "platform/Result.h"

#include <QDateTime>
#include <QString>

// A time of day said beside the day, the way people say it: 下午3点, 上午10点半, 三点一刻, 8点45分,
// 15:30, 中午12点, 凌晨1点; 今晚, 今早, 明早 and 明晚 say the day as well. 上午, 早上 and 凌晨 are
// before noon, 中午 about noon, 下午, 傍晚 and 晚上 after it; a bare 1点 to 6点 is the afternoon's,
// as it is said in an office, and H:MM is the 24-hour clock. Digits and Chinese numerals, full-width
// ones included.
namespace TimeWords {

struct Said
{
    QString day; // the words left for the day, blanks trimmed; empty when only a time was said
    QTime time;  // invalid when none was said
};

// The words with the time taken out. Refuses a time that cannot be (25点, 下午13点) with examples.
// A part of the day alone has the hour phones give it: 上午 9:00, 中午 12:00, 下午 15:00, 傍晚 18:00,
// 晚上 20:00 (今晚, 明晚, 周五晚上). With now, a time from now (半小时后, 两个小时后, 10分钟后) is its
// exact minute, its day said as 今天, 明天 or the date.
ResultOf<Said> split(QStringView text, const QDateTime& now = {});
// A time of day alone, as every box that asks for one reads it (15:30, 下午3点, 晚上): refused, with
// why, for anything else.
ResultOf<QTime> timeOfDay(QStringView text);
// The next moment at time: today while it is still ahead, else tomorrow.
QDate nextDay(QTime time, const QDateTime& now);

} // namespace TimeWords
