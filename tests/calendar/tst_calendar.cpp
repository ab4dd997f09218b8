#include "calendar/core/DateWords.h"
#include "calendar/core/DayText.h"
#include "calendar/core/HolidayCalendar.h"
#include "calendar/core/LunarDate.h"

#include <QFile>
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

    void datesInWords_data()
    {
        QTest::addColumn<QDate>("today");
        QTest::addColumn<QString>("words");
        QTest::addColumn<QDate>("date");
        const QDate tue(2026, 12, 8), sun(2026, 12, 13);
        const auto row = [](const char* name, QDate today, const char* words, QDate date) {
            QTest::newRow(name) << today << QString::fromUtf8(words) << date;
        };
        row("今天", tue, "今天", tue);
        row("大后天 over the year end", QDate(2026, 12, 30), "大后天", QDate(2027, 1, 2));
        row("周五, this week's", tue, "周五", QDate(2026, 12, 11));
        row("星期二 on a Tuesday is today", tue, "星期二", tue);
        row("礼拜天 is the week's last day", tue, "礼拜天", sun);
        row("周日 on a Sunday", sun, "周日", sun);
        row("下周一", tue, "下周一", QDate(2026, 12, 14));
        row("下周一 on a Sunday: the day after", sun, "下周一", QDate(2026, 12, 14));
        row("下下周三", tue, "下下周三", QDate(2026, 12, 23));
        row("3天后", tue, "3天后", QDate(2026, 12, 11));
        row("三天后", tue, "三天后", QDate(2026, 12, 11));
        row("两周后", tue, "两周后", QDate(2026, 12, 22));
        row("一个月后 from the 31st", QDate(2027, 1, 31), "一个月后", QDate(2027, 2, 28));
        row("月底 of a leap February", QDate(2028, 2, 3), "月底", QDate(2028, 2, 29));
        row("年底", tue, "年底", QDate(2026, 12, 31));
        row("12月20日", tue, "12月20日", QDate(2026, 12, 20));
        row("十二月二十号", tue, "十二月二十号", QDate(2026, 12, 20));
        row("12-1 passed: next year", tue, "12-1", QDate(2027, 12, 1));
        row("2月29日 waits for a leap year", tue, "2月29日", QDate(2028, 2, 29));
        row("20号", tue, "20号", QDate(2026, 12, 20));
        row("5号 passed: next month", tue, "5号", QDate(2027, 1, 5));
        row("三十一号 skips a short month", QDate(2027, 2, 3), "三十一号", QDate(2027, 3, 31));
        row("2027-01-05", tue, "2027-01-05", QDate(2027, 1, 5));
        row("2027年1月5日", tue, "2027年1月5日", QDate(2027, 1, 5));
        row("full-width digits", tue, "１２月２０日", QDate(2026, 12, 20));
        row("12月8日 on the day is today", tue, "12月8日", tue);
        // The festivals are what they are, known in December for the year the arrangement lacks.
        row("元旦", tue, "元旦", QDate(2027, 1, 1));
        row("春节 is 正月初一", tue, "春节", QDate(2027, 2, 6));
        row("清明 is the solar term's day", tue, "清明", QDate(2027, 4, 5));
        row("五一", tue, "五一", QDate(2027, 5, 1));
        row("端午 is 五月初五", tue, "端午", QDate(2027, 6, 9));
        row("中秋 is 八月十五", tue, "中秋节", QDate(2027, 9, 15));
        row("国庆", tue, "国庆", QDate(2027, 10, 1));
        row("春节 on the day is today", QDate(2027, 2, 6), "过年", QDate(2027, 2, 6));
        row("中秋 just passed: next year's", QDate(2026, 9, 26), "中秋", QDate(2027, 9, 15));
        row("端午 is never in a leap fifth month", QDate(2028, 6, 1), "端午", QDate(2029, 6, 16));
        // Dates as people type them in messages.
        row("下个月15号", tue, "下个月15号", QDate(2027, 1, 15));
        row("下月15日", tue, "下月15日", QDate(2027, 1, 15));
        row("下月初", tue, "下月初", QDate(2027, 1, 1));
        row("下月底", tue, "下月底", QDate(2027, 1, 31));
        row("周末 is the coming Saturday", tue, "周末", QDate(2026, 12, 12));
        row("这周末 on a Sunday is today", sun, "这周末", sun);
        row("本周末 on a Saturday is today", QDate(2026, 12, 12), "本周末", QDate(2026, 12, 12));
        row("下周末", tue, "下周末", QDate(2026, 12, 19));
        row("下周末 on a Sunday", sun, "下周末", QDate(2026, 12, 19));
        row("这周六", tue, "这周六", QDate(2026, 12, 12));
        row("本周日", tue, "本周日", sun);
        row("明年3月1日", tue, "明年3月1日", QDate(2027, 3, 1));
        row("明年元旦", tue, "明年元旦", QDate(2027, 1, 1));
        row("半个月后", tue, "半个月后", QDate(2026, 12, 23));
        row("12.31", tue, "12.31", QDate(2026, 12, 31));
        row("12月31, no 日", tue, "12月31", QDate(2026, 12, 31));
        row("第二天", tue, "第二天", QDate(2026, 12, 9));
        row("八月十五 alone stays 15 August", tue, "八月十五", QDate(2027, 8, 15));
        // Lunar dates and the traditional festivals by their rule, in the winter of 2024-25.
        const QDate winter(2024, 12, 8);
        row("农历八月十五", winter, "农历八月十五", QDate(2025, 10, 6));
        row("正月初一", winter, "正月初一", QDate(2025, 1, 29));
        row("腊月廿三", winter, "腊月廿三", QDate(2025, 1, 22));
        row("农历十月初一", winter, "农历十月初一", QDate(2025, 11, 20));
        row("除夕 on 廿九 in a short 腊月", winter, "除夕", QDate(2025, 1, 28));
        row("元宵", winter, "元宵", QDate(2025, 2, 12));
        row("七夕", winter, "七夕", QDate(2025, 8, 29));
        row("重阳", winter, "重阳", QDate(2025, 10, 29));
        row("腊八", winter, "腊八", QDate(2025, 1, 7));
        row("小年", winter, "小年", QDate(2025, 1, 22));
        row("冬至", winter, "冬至", QDate(2024, 12, 21));
        row("立春", winter, "立春", QDate(2025, 2, 3));
        row("大寒", winter, "大寒", QDate(2025, 1, 20));
        row("下月底 said in January is February's last", QDate(2027, 1, 15), "下月底", QDate(2027, 2, 28));
        row("除夕 said on 春节 is the next one", QDate(2026, 2, 17), "除夕", QDate(2027, 2, 5));
        // The holiday's first day off comes from the arrangement.
        row("国庆假期 from the data", QDate(2026, 9, 1), "国庆假期", QDate(2026, 10, 1));
        row("春节假期 begins before 春节", QDate(2026, 1, 5), "春节假期", QDate(2026, 2, 15));
    }
    void datesInWords()
    {
        QFETCH(QDate, today);
        QFETCH(QString, words);
        QFETCH(QDate, date);
        const ResultOf<QDate> parsed = DateWords::parse(words, today, HolidayCalendar::builtIn());
        QVERIFY2(parsed, qPrintable(parsed.error()));
        QCOMPARE(*parsed, date);
    }
    // A lunar festival falls in its own month, not in the leap month of the same number after it.
    void aLeapMonthHasNoFestival()
    {
        QCOMPARE(DateWords::festivalOn(QDate(2028, 5, 28)), QString::fromUtf8("端午"));
        QCOMPARE(DateWords::festivalOn(QDate(2028, 6, 27)), QString());
    }
    void wordsNotUnderstood()
    {
        const QDate tue(2026, 12, 8);
        for (const char* words : {"", "下个世纪", "13月1日", "2027-02-30", "32号", "周八", "国庆假期"}) {
            const ResultOf<QDate> parsed =
                DateWords::parse(QString::fromUtf8(words), tue, HolidayCalendar::builtIn());
            QVERIFY2(!parsed, words);
        }
        QVERIFY(DateWords::parse(QString::fromUtf8("明日"), tue, HolidayCalendar::builtIn())
                    .error()
                    .contains(QString::fromUtf8("可以写：今天、明天")));
        QCOMPARE(DateWords::parse(QString::fromUtf8("春节放假"), tue, HolidayCalendar::builtIn()).error(),
                 QString::fromUtf8("还不知道下一个春节假期是哪天（节假日安排尚未收录）"));
        QCOMPARE(DateWords::describe(QDate(2026, 12, 11), tue),
                 QString::fromUtf8("2026-12-11 星期五（3 天后）"));
    }

    // The arrangement's own form, line by line: a date or a span within a year, 休 or 班, a name.
    void theArrangementsForm()
    {
        const ResultOf<HolidayCalendar> read = HolidayCalendar::parse(
            QString::fromUtf8("# 2027\n2027-01-01~2027-01-03 休 元旦\n  2027-01-04\t班\t元旦 \n"),
            QStringLiteral("f"));
        QVERIFY2(read, qPrintable(read.error()));
        QCOMPARE(read->day(QDate(2027, 1, 3)),
                 (HolidayCalendar::Day{QDate(2027, 1, 3), true, QString::fromUtf8("元旦")}));
        QCOMPARE(read->day(QDate(2027, 1, 4)),
                 (HolidayCalendar::Day{QDate(2027, 1, 4), false, QString::fromUtf8("元旦")}));
        for (const char* line :
             {"2027-1-01 休 元旦", "2027-01-01休 元旦", "2027-01-01 放 元旦", "2027-01-01 休",
              "2027-01-01 休元旦", "2027-01-01~2027-01 休 元旦", "2027-01-03~2027-01-01 休 元旦",
              "2027-12-31~2028-01-01 休 元旦", "2027-02-30 休 春节", "２０２７-01-01 休 元旦"}) {
            const ResultOf<HolidayCalendar> refused = HolidayCalendar::parse(
                QString::fromUtf8("2027-01-01 休 元旦\n") + QString::fromUtf8(line), QStringLiteral("f"));
            QVERIFY2(!refused, line);
            QVERIFY2(refused.error().startsWith(QString::fromUtf8("f 第 2 行无法读取")),
                     qPrintable(refused.error()));
        }
    }

    // The sun's longitude by formula, on the days the almanacs give.
    void solarTerms()
    {
        const std::pair<QDate, const char*> known[] = {
            {QDate(2024, 12, 21), "冬至"}, {QDate(2025, 12, 21), "冬至"}, {QDate(2026, 12, 22), "冬至"},
            {QDate(2025, 2, 3), "立春"},   {QDate(2026, 2, 4), "立春"},   {QDate(2026, 4, 5), "清明"},
            {QDate(2025, 6, 21), "夏至"},  {QDate(2025, 3, 20), "春分"},  {QDate(2026, 1, 5), "小寒"},
        };
        // Every term of 2013 and of 2024 to 2030 on the almanacs' day, and only on it.
        QFile table(QStringLiteral(KESTRIN_TEST_DATA "/solar-terms.txt"));
        QVERIFY(table.open(QIODevice::ReadOnly | QIODevice::Text));
        int terms = 0;
        while (!table.atEnd()) {
            const QString line = QString::fromUtf8(table.readLine()).trimmed();
            if (line.startsWith(u'#'))
                continue;
            const QStringList fields = line.split(u' ');
            QCOMPARE(fields.size(), 3);
            const QDate date = QDate::fromString(fields[0], Qt::ISODate);
            QVERIFY2(solarTermOn(date) == fields[2] && solarTermOn(date.addDays(-1)).isEmpty() &&
                         solarTermOn(date.addDays(1)).isEmpty(),
                     qPrintable(line + QStringLiteral(" / ") + solarTermOn(date.addDays(-1)) +
                                solarTermOn(date) + solarTermOn(date.addDays(1))));
            ++terms;
        }
        QCOMPARE(terms, 8 * 24);
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
