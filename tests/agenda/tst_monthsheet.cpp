#include "agenda/core/MonthSheet.h"
#include "calendar/core/HolidayCalendar.h"

#include <QTest>

namespace {

const QDate today(2026, 12, 9);

AgendaItem item(const char* text, QDate finish, RepeatRule rule = {})
{
    return {QString::fromUtf8(text), QDate(2026, 1, 1), finish, 0, rule};
}

} // namespace

class TestMonthSheet : public QObject
{
    Q_OBJECT
private slots:
    // What a day says under its number: a festival by its rule, else the solar term, else the
    // lunar day (the month's name on its first); 休 and 班 from the arrangement, for a year held.
    void eachDaySaysWhatItIs()
    {
        const HolidayCalendar holidays = HolidayCalendar::builtIn();
        const struct
        {
            QDate date;
            const char* note;
            QChar mark;
        } days[] = {
            {{2025, 1, 28}, "除夕", u'休'}, // 腊月廿九: a short 腊月
            {{2025, 1, 29}, "春节", u'休'}, {{2025, 1, 26}, "廿七", u'班'},  {{2025, 1, 7}, "腊八", {}},
            {{2025, 1, 22}, "小年", {}},    {{2025, 2, 12}, "元宵", {}},     {{2025, 5, 31}, "端午", u'休'},
            {{2025, 10, 6}, "中秋", u'休'}, {{2026, 2, 16}, "除夕", u'休'},  {{2026, 2, 14}, "廿七", u'班'},
            {{2026, 2, 28}, "十二", u'班'}, {{2026, 4, 5}, "清明", u'休'},   {{2026, 8, 19}, "七夕", {}},
            {{2026, 9, 25}, "中秋", u'休'}, {{2026, 9, 20}, "初十", u'班'},  {{2026, 10, 1}, "国庆", u'休'},
            {{2026, 10, 18}, "重阳", {}},   {{2026, 12, 22}, "冬至", {}},    {{2026, 12, 9}, "冬月", {}},
            {{2026, 12, 7}, "大雪", {}},    {{2026, 5, 1}, "劳动节", u'休'}, {{2027, 2, 6}, "春节", {}},
            {{2027, 2, 5}, "除夕", {}}, // 2027's arrangement is not held: no 休
        };
        for (const auto& d : days) {
            const MonthSheet sheet(d.date.year(), d.date.month(), {}, today, holidays);
            const MonthSheet::Day* day = sheet.day(d.date);
            QVERIFY(day);
            QVERIFY2(day->note == QString::fromUtf8(d.note),
                     qPrintable(d.date.toString() + u' ' + day->note));
            QVERIFY2(day->mark == d.mark, qPrintable(d.date.toString()));
        }
        QCOMPARE(MonthSheet(2026, 12, {}, today, holidays).title(),
                 QString::fromUtf8("2026年12月 · 丙午年 冬月"));
        QCOMPARE(MonthSheet(2026, 2, {}, today, holidays).title(),
                 QString::fromUtf8("2026年2月 · 乙巳年 腊月"));
        QVERIFY(!MonthSheet(2027, 2, {}, today, holidays).yearKnown());
    }

    // The items on their days, a repeating one on every occurrence the six weeks hold (a month's
    // end, the official working days, a lunar date), overdue ones counted; the day in words and
    // for a screen reader.
    void theItemsOnTheirDays()
    {
        const HolidayCalendar holidays = HolidayCalendar::builtIn();
        const QList<AgendaItem> items{
            item("交房租", QDate(2026, 1, 31), RepeatRule{RepeatRule::Monthly, 0, 31}),
            item("打卡", QDate(2026, 2, 12), RepeatRule{RepeatRule::OfficialWorkdays}),
            item("妈妈生日", QDate(2026, 9, 25), RepeatRule{RepeatRule::LunarYearly, 8, 15}),
            item("给爷爷拜年", QDate(2026, 2, 17)),
        };
        const MonthSheet feb(2026, 2, items, QDate(2026, 2, 18), holidays);
        QStringList rent, clockIn;
        for (const MonthSheet::Day& day : feb.days()) {
            if (day.items.contains(QString::fromUtf8("交房租（每月）")))
                rent.append(day.date.toString(Qt::ISODate));
            if (day.items.contains(QString::fromUtf8("打卡（法定工作日）")))
                clockIn.append(day.date.toString(Qt::ISODate));
        }
        // The grid runs from 26 January to 8 March: 31 January, then each month's last day.
        QCOMPARE(rent, (QStringList{"2026-01-31", "2026-02-28"}));
        QCOMPARE(clockIn, (QStringList{"2026-02-12", "2026-02-13", "2026-02-14", "2026-02-24", "2026-02-25",
                                       "2026-02-26", "2026-02-27", "2026-02-28", "2026-03-02", "2026-03-03",
                                       "2026-03-04", "2026-03-05", "2026-03-06"}));
        const MonthSheet::Day* newYear = feb.day(QDate(2026, 2, 17));
        QCOMPARE(newYear->overdue, 1);
        QCOMPARE(MonthSheet::accessibleName(*newYear),
                 QString::fromUtf8("2026年2月17日 星期二 正月初一 春节 休 1 件（逾期 1 件）：给爷爷拜年"));
        QCOMPARE(MonthSheet::dayWords(*newYear),
                 QString::fromUtf8("2月17日 星期二 · 农历正月初一 · 春节：给爷爷拜年"));

        const MonthSheet sep(2026, 9, items, today, holidays);
        QCOMPARE(sep.day(QDate(2026, 9, 25))->items, QStringList{QString::fromUtf8("妈妈生日（农历每年）")});
        // Months after the one it stands at: every occurrence, asked for, not stepped to.
        QCOMPARE(sep.day(QDate(2026, 9, 30))->items,
                 (QStringList{QString::fromUtf8("交房租（每月）"), QString::fromUtf8("打卡（法定工作日）")}));
        QVERIFY(sep.day(QDate(2026, 10, 5))->items.isEmpty()); // 国庆节: no official working day
        QCOMPARE(MonthSheet::dayWords(*sep.day(QDate(2026, 9, 26))),
                 QString::fromUtf8("9月26日 星期六 · 农历八月十六：无日程"));
        // A subtask names its parent, beside a rule.
        AgendaItem tiles = item("买瓷砖", QDate(2026, 9, 26), RepeatRule{RepeatRule::Monthly, 0, 26});
        tiles.structure.parent = QString::fromUtf8("装修");
        QCOMPARE(MonthSheet(2026, 9, {tiles}, today, holidays).day(QDate(2026, 9, 26))->items,
                 QStringList{QString::fromUtf8("买瓷砖（每月，属于：装修）")});
    }

    // The edges: an occurrence on the grid's first day, a late repeating item overdue only on the
    // days gone by, a festival that is its solar term too named once.
    void theGridsEdges()
    {
        const HolidayCalendar holidays = HolidayCalendar::builtIn();
        const QList<AgendaItem> items{
            item("交房租", QDate(2026, 7, 31), RepeatRule{RepeatRule::Monthly, 0, 31}),
            item("周报", QDate(2026, 12, 2), RepeatRule{RepeatRule::Weekly, 0, 3}),
        };
        const MonthSheet sep(2026, 9, items, today, holidays);
        QCOMPARE(sep.days().first().date, QDate(2026, 8, 31));
        QCOMPARE(sep.day(QDate(2026, 8, 31))->items, QStringList{QString::fromUtf8("交房租（每月）")});
        const MonthSheet dec(2026, 12, items, today, holidays);
        QCOMPARE(dec.day(QDate(2026, 12, 2))->overdue, 1);
        QCOMPARE(dec.day(QDate(2026, 12, 16))->items, QStringList{QString::fromUtf8("周报（每周）")});
        QCOMPARE(dec.day(QDate(2026, 12, 16))->overdue, 0);
        QCOMPARE(MonthSheet(2026, 4, {}, today, holidays).day(QDate(2026, 4, 5))->marks,
                 QString::fromUtf8("清明"));
    }
};

QTEST_GUILESS_MAIN(TestMonthSheet)
#include "tst_monthsheet.moc"
