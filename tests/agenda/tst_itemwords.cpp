#include "agenda/core/ItemWords.h"
#include "calendar/core/HolidayCalendar.h"

#include <QTest>

Q_DECLARE_METATYPE(RepeatRule)

class TestItemWords : public QObject
{
    Q_OBJECT
private slots:
    // What --add and the quick-add window make of the words: the finish date, and the rule. A
    // repetition needs no finish date: its first day from today, today included.
    void theWordsMakeTheItem_data()
    {
        QTest::addColumn<QDate>("today");
        QTest::addColumn<QString>("finish");
        QTest::addColumn<QString>("repeat");
        QTest::addColumn<QDate>("finishDate");
        QTest::addColumn<RepeatRule>("rule");
        const QDate friday(2026, 12, 11), saturday(2026, 12, 12);
        using R = RepeatRule;
        QTest::newRow("a date in words") << friday << QStringLiteral("明天") << QString() << saturday << R{};
        QTest::newRow("a date as the box takes it")
            << friday << QStringLiteral("2027-1-5") << QString() << QDate(2027, 1, 5) << R{};
        QTest::newRow("每周五 on a Friday is today")
            << friday << QString() << QStringLiteral("每周五") << friday << R{R::Weekly, 0, 5};
        QTest::newRow("每周五 on a Saturday")
            << saturday << QString() << QStringLiteral("每周五") << QDate(2026, 12, 18) << R{R::Weekly, 0, 5};
        QTest::newRow("每天 is today")
            << saturday << QString() << QStringLiteral("每天") << saturday << R{R::Daily};
        QTest::newRow("工作日 from a Saturday")
            << saturday << QString() << QStringLiteral("工作日") << QDate(2026, 12, 14) << R{R::Weekdays};
        // 国庆 2026: 10-01 to 10-07 off.
        QTest::newRow("法定工作日 in 国庆") << QDate(2026, 10, 2) << QString() << QStringLiteral("法定工作日")
                                            << QDate(2026, 10, 8) << R{R::OfficialWorkdays};
        QTest::newRow("每周 keeps today's weekday")
            << saturday << QString() << QStringLiteral("每周") << saturday << R{R::Weekly, 0, 6};
        QTest::newRow("每月 keeps today's day")
            << saturday << QString() << QStringLiteral("每月") << saturday << R{R::Monthly, 0, 12};
        QTest::newRow("每年 keeps today's date")
            << saturday << QString() << QStringLiteral("每年") << saturday << R{R::Yearly, 12, 12};
        // 2026-12-12 is 冬月初四.
        QTest::newRow("农历每年 keeps today's lunar date")
            << saturday << QString() << QStringLiteral("农历每年") << saturday << R{R::LunarYearly, 11, 4};
        QTest::newRow("a kind keeps the finish date's day")
            << saturday << QStringLiteral("12月20日") << QStringLiteral("每月") << QDate(2026, 12, 20)
            << R{R::Monthly, 0, 20};
    }
    void theWordsMakeTheItem()
    {
        QFETCH(QDate, today);
        QFETCH(QString, finish);
        QFETCH(QString, repeat);
        const ResultOf<AgendaItem> item =
            ItemWords::read(QStringLiteral("打卡"), QString(), finish, repeat, QDateTime(today, QTime(9, 0)),
                            HolidayCalendar::builtIn());
        QVERIFY2(item, qPrintable(item.error()));
        QCOMPARE(item->setDate, today);
        QTEST(item->finishDate, "finishDate");
        QTEST(item->repeat, "rule");
    }

    // A time of day said with the day, or alone (the next such moment), at several moments of a
    // Wednesday, 2026-12-09, the last minutes before midnight and the first after it among them;
    // an impossible time is refused as a time, not as a date.
    void aTimeIsSaidWithTheDay()
    {
        const HolidayCalendar holidays = HolidayCalendar::builtIn();
        const QDate wed(2026, 12, 9);
        const struct
        {
            QTime now;
            const char* typed;
            QDate day;  // invalid: refused
            QTime time; // invalid: no time
            const char* meaning = nullptr;
        } cases[] = {
            {{10, 0}, "明天下午3点", wed.addDays(1), {15, 0}, "→ 2026-12-10 星期四 15:00（明天）"},
            {{10, 0}, "周五上午10点半", wed.addDays(2), {10, 30}},
            {{10, 0}, "今晚8点", wed, {20, 0}},
            {{10, 0}, "下午三点一刻", wed, {15, 15}, "→ 2026-12-09 星期三 15:15（今天）"},
            {{16, 0}, "下午三点一刻", wed.addDays(1), {15, 15}, "→ 2026-12-10 星期四 15:15（明天）"},
            {{23, 50}, "15:30", wed.addDays(1), {15, 30}},
            {{0, 5}, "１５：３０", wed, {15, 30}},
            {{23, 50}, "明早9点", wed.addDays(1), {9, 0}},
            {{0, 5}, "明早9点", wed.addDays(1), {9, 0}},
            {{0, 5}, "凌晨1点", wed, {1, 0}},
            {{10, 0}, "后天中午12点", wed.addDays(2), {12, 0}},
            {{10, 0}, "2026-12-10 15:00", wed.addDays(1), {15, 0}},
            {{10, 0}, "明天8点45分", wed.addDays(1), {8, 45}},
            {{10, 0}, "明天3点", wed.addDays(1), {15, 0}},
            {{10, 0}, "明天晚上九点三刻", wed.addDays(1), {21, 45}},
            {{10, 0},
             "每周五下午5点",
             wed.addDays(2),
             {17, 0},
             "→ 2026-12-11 星期五 17:00（2 天后），每周重复"},
            {{10, 0}, "明天5:30", wed.addDays(1), {5, 30}},
            {{10, 0}, "明天中午1点", wed.addDays(1), {13, 0}},
            {{10, 0}, "明晚8点", wed.addDays(1), {20, 0}},
            // A part of the day alone has the hour phones give it.
            {{10, 0}, "今晚", wed, {20, 0}, "→ 2026-12-09 星期三 20:00（今天）"},
            {{23, 50}, "明晚", wed.addDays(1), {20, 0}},
            {{0, 10}, "明天上午", wed.addDays(1), {9, 0}},
            {{10, 0}, "明天中午", wed.addDays(1), {12, 0}},
            {{10, 0}, "下午", wed, {15, 0}},
            {{16, 0}, "下午", wed.addDays(1), {15, 0}},
            {{10, 0}, "傍晚", wed, {18, 0}},
            {{10, 0}, "周五晚上", wed.addDays(2), {20, 0}},
            // A time from now is its exact minute.
            {{10, 0}, "半小时后", wed, {10, 30}, "→ 2026-12-09 星期三 10:30（今天）"},
            {{23, 50}, "半小时后", wed.addDays(1), {0, 20}},
            {{0, 10}, "一小时后", wed, {1, 10}},
            {{23, 50}, "30分钟后", wed.addDays(1), {0, 20}},
            {{10, 0}, "两个小时后", wed, {12, 0}},
            {{23, 50}, "一个半小时后", wed.addDays(1), {1, 20}},
            {{0, 10}, "10分钟后", wed, {0, 20}},
            {{10, 0}, "3点整", wed, {15, 0}},
            {{10, 0}, "0分钟后", {}, {}, "无法识别的时间“0分钟后”"},
            {{16, 0}, "下午三点整", wed.addDays(1), {15, 0}},
            {{10, 0}, "明天下午3点整", wed.addDays(1), {15, 0}},
            // A refusal names the words typed, not the day a time's word stood for.
            {{10, 0}, "今晚8点了", {}, {}, "无法识别的日期“今晚8点了”"},
            {{10, 0}, "明天", wed.addDays(1), {}},
            {{10, 0}, "25点", {}, {}, "无法识别的时间“25点”"},
            {{10, 0}, "明天下午13点", {}, {}, "无法识别的时间“下午13点”"},
            {{10, 0}, "明天15:60", {}, {}, "无法识别的时间“15:60”"},
        };
        for (const auto& c : cases) {
            const QDateTime now(wed, c.now);
            const QString typed = QString::fromUtf8(c.typed);
            const ResultOf<AgendaItem> item = ItemWords::readBox(QStringLiteral("事"), typed, now, holidays);
            QVERIFY2(bool(item) == c.day.isValid(), c.typed);
            if (item) {
                QVERIFY2(item->finishDate == c.day, c.typed);
                QVERIFY2(item->time == c.time, c.typed);
            }
            if (c.meaning)
                QVERIFY2(ItemWords::meaning(QString(), typed, now, holidays)
                             .startsWith(QString::fromUtf8(c.meaning)),
                         qPrintable(ItemWords::meaning(QString(), typed, now, holidays)));
        }
    }

    // #标签 and !高 anywhere in either box, taken out of the text; a # inside a word, a ! before
    // anything but 高中低, stay part of it.
    void theMarksAreTakenOut()
    {
        struct Case
        {
            const char* text;
            const char* box;
            const char* left;
            QStringList tags;
            ItemStructure::Priority priority;
        };
        using S = ItemStructure;
        const Case cases[] = {
            {"写周报 #工作 !高", "周五下午5点", "写周报", {"工作"}, S::High},
            {"#家庭 买菜 ！低 #家庭", "明天", "买菜", {"家庭"}, S::Low},
            {"写周报", "#工作 !中 周五下午5点", "写周报", {"工作"}, S::Medium},
            {"学C# 编程", "明天", "学C# 编程", {}, S::NoPriority},
            {"真棒!高兴", "明天", "真棒!高兴", {}, S::NoPriority},
            {"看 !高 !低", "明天", "看", {}, S::Low},
        };
        const QDateTime now(QDate(2026, 12, 9), QTime(10, 0)); // a Wednesday
        for (const Case& c : cases) {
            const ResultOf<AgendaItem> item = ItemWords::readBox(
                QString::fromUtf8(c.text), QString::fromUtf8(c.box), now, HolidayCalendar::builtIn());
            QVERIFY2(item, c.text);
            QCOMPARE(item->text, QString::fromUtf8(c.left));
            QCOMPARE(item->structure.tags, c.tags);
            QCOMPARE(item->structure.priority, c.priority);
        }
        const QString said =
            ItemWords::meaning(QStringLiteral("写周报 #工作 !高"), QStringLiteral("周五下午5点"), now,
                               HolidayCalendar::builtIn());
        QVERIFY2(said.contains(QStringLiteral("17:00")) &&
                     said.endsWith(QStringLiteral("，标签：工作，优先级：高")),
                 qPrintable(said));
    }

    // Without a repetition a finish date is wanted; words that do not read say which.
    void whatIsRefused()
    {
        const QDateTime today(QDate(2026, 12, 11), QTime(9, 0));
        const HolidayCalendar holidays = HolidayCalendar::builtIn();
        QVERIFY(!ItemWords::read(QStringLiteral("a"), QString(), QString(), QString(), today, holidays));
        QVERIFY(!ItemWords::read(QStringLiteral("a"), QString(), QString(), QStringLiteral("off"), today,
                                 holidays));
        QVERIFY(ItemWords::read(QStringLiteral("a"), QString(), QStringLiteral("明日"), QString(), today,
                                holidays)
                    .error()
                    .startsWith(QString::fromUtf8("无法识别的日期“明日”")));
        QVERIFY(ItemWords::read(QStringLiteral("a"), QString(), QString(), QStringLiteral("每两周"), today,
                                holidays)
                    .error()
                    .startsWith(QString::fromUtf8("无法识别的重复方式“每两周”")));
    }
};

QTEST_GUILESS_MAIN(TestItemWords)
#include "tst_itemwords.moc"
