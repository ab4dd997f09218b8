#include "calendar/core/DayText.h"

#include "calendar/core/DateText.h"
#include "calendar/core/HolidayCalendar.h"
#include "calendar/core/LunarDate.h"

QString dayText(QDate date, const HolidayCalendar& holidays)
{
    QString text = QStringLiteral("%1年%2月%3日 星期%4 · 农历%5")
                       .arg(date.year())
                       .arg(date.month())
                       .arg(date.day())
                       .arg(DateText::weekdayName(date.dayOfWeek()))
                       .arg(LunarDate::of(date).text());
    if (const auto day = holidays.day(date))
        text +=
            day->off ? QStringLiteral(" · ") + day->name : QStringLiteral(" · 调休上班（%1）").arg(day->name);
    else if (const QString term = solarTermOn(date); !term.isEmpty())
        text += QStringLiteral(" · ") + term;
    return text;
}
