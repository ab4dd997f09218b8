#include "calendar/core/DayText.h"
#include "calendar/core/HolidayCalendar.h"
#include "calendar/core/LunarDate.h"

#include <QTest>

class TestCalendar : public QObject
{
    Q_OBJECT
private slots:
    void lunarDatesFromIcu()
    {
        QCOMPARE(LunarDate::of(QDate(2025, 1, 29)).text(), QString::fromUtf8("正月初一"));
        QCOMPARE(LunarDate::of(QDate(2026, 2, 17)).text(), QString::fromUtf8("正月初一"));
        QCOMPARE(LunarDate::of(QDate(2027, 2, 6)).text(), QString::fromUtf8("正月初一"));
        QCOMPARE(LunarDate::of(QDate(2026, 2, 16)).text(),
                 QString::fromUtf8("腊月廿九")); // 除夕 of a short month
        // 2025's leap sixth month, and the ordinary sixth month before it.
        QCOMPARE(LunarDate::of(QDate(2025, 7, 25)).text(), QString::fromUtf8("闰六月初一"));
        QCOMPARE(LunarDate::of(QDate(2025, 7, 24)).text(), QString::fromUtf8("六月三十"));
        QCOMPARE(LunarDate::of(QDate(2026, 12, 8)).text(), QString::fromUtf8("十月三十"));
        QCOMPARE(LunarDate::of(QDate(2027, 2, 5)).text(), QString::fromUtf8("腊月廿九"));
    }

    // The sun's longitude by formula, on the days the almanacs give.
    void solarTerms()
    {
        const std::pair<QDate, const char*> known[] = {
            {QDate(2024, 12, 21), "冬至"}, {QDate(2025, 12, 21), "冬至"}, {QDate(2026, 12, 22), "冬至"},
            {QDate(2025, 2, 3), "立春"},   {QDate(2026, 2, 4), "立春"},   {QDate(2026, 4, 5), "清明"},
            {QDate(2025, 6, 21), "夏至"},  {QDate(2025, 3, 20), "春分"},  {QDate(2026, 1, 5), "小寒"},
        };
        for (const auto& [date, term] : known) {
            QCOMPARE(solarTermOn(date), QString::fromUtf8(term));
            QCOMPARE(solarTermOn(date.addDays(-1)), QString());
            QCOMPARE(solarTermOn(date.addDays(1)), QString());
        }
        QCOMPARE(dayText(QDate(2026, 12, 22), HolidayCalendar::builtIn()),
                 QString::fromUtf8("2026年12月22日 星期二 · 农历冬月十四 · 冬至"));
        QCOMPARE(dayText(QDate(2026, 2, 17), HolidayCalendar::builtIn()),
                 QString::fromUtf8("2026年2月17日 星期二 · 农历正月初一 · 春节"));
        QCOMPARE(dayText(QDate(2026, 9, 20), HolidayCalendar::builtIn()),
                 QString::fromUtf8("2026年9月20日 星期日 · 农历八月初十 · 调休上班（国庆节）"));
    }
};

QTEST_GUILESS_MAIN(TestCalendar)
#include "tst_calendar.moc"
