#pragma once

#include "platform/Result.h"

#include <QDate>
#include <QStringView>
#include <QTime>

#include <optional>
#include <utility>

class HolidayCalendar;
struct LunarDate;

// A date said the way people say it, from today: 今天, 明天, 后天, 大后天; 周五, 星期五, 礼拜五 (the
// coming one, today's weekday being today); 下周一, 下下周三; 3天后, 三天后, 两周后, 一个月后; 本月底,
// 月底, 年底; 12月20日, 12月20号, 12-20, 20号 (the next such day); 2027-01-05, 2027年1月5日; 元旦,
// 春节, 清明, 国庆 and the other official holidays (the next such day: a fixed date, a lunar date or
// the solar term), and 国庆假期, 春节放假 (the first day off, from the arrangement). Chinese numerals
// up to 三十一 and digits, full-width ones included. Anything else fails with examples.
namespace DateWords {

ResultOf<QDate> parse(QStringView text, QDate today, const HolidayCalendar& holidays);
// "2026-12-11 星期五（3 天后）" for the date as understood; "2026-12-11 星期五 15:00（3 天后）" with a time.
QString describe(QDate date, QDate today, QTime time = {});
// The festival of that day by its rule (元旦, 除夕, 春节, 元宵, 清明, 劳动节, 端午, 七夕, 中秋, 国庆, 重阳,
// 腊八, 小年), or empty.
QString festivalOn(QDate date);
// The same with the lunar dates of that day and the next already known.
QString festivalOn(QDate date, const LunarDate& lunar, const LunarDate& tomorrow);
// 0 to 99 from digits or Chinese numerals (两 for 2, 零 for 0); -1 for anything else.
int numeral(QStringView text);

// The days a repetition names, which need no today, read as parse() reads them.
// 五, 日 or 天 after 周: 1 (Monday) to 7.
std::optional<int> weekdayNamed(QStringView text);
// 15号, 十五日: 1 to 31.
std::optional<int> dayOfMonthNamed(QStringView text);
// 12月20日, 2月29日: a month and a day that some year has.
std::optional<std::pair<int, int>> dayOfYearNamed(QStringView text);

} // namespace DateWords
