#include "calendar/core/HolidayCalendar.h"
#include "calendar/core/LunarDate.h"
#include "calendar/core/RepeatRule.h"
#include "calendar/core/RepeatWords.h"

#include <QTest>

using Rule = RepeatRule;
Q_DECLARE_METATYPE(RepeatRule)

class TestRepeatRule : public QObject
{
    Q_OBJECT
private slots:
    void theNextDate_data()
    {
        QTest::addColumn<RepeatRule>("rule");
        QTest::addColumn<QDate>("after");
        QTest::addColumn<QDate>("next");
        QTest::newRow("daily across the year")
            << Rule{Rule::Daily} << QDate(2026, 12, 31) << QDate(2027, 1, 1);
        QTest::newRow("Friday from Friday")
            << Rule{Rule::Weekly, 0, 5} << QDate(2026, 12, 11) << QDate(2026, 12, 18);
        QTest::newRow("Friday from Sunday")
            << Rule{Rule::Weekly, 0, 5} << QDate(2026, 12, 13) << QDate(2026, 12, 18);
        QTest::newRow("weekdays skip the weekend")
            << Rule{Rule::Weekdays} << QDate(2026, 12, 11) << QDate(2026, 12, 14);
        QTest::newRow("weekends skip the week")
            << Rule{Rule::Weekends} << QDate(2026, 12, 13) << QDate(2026, 12, 19);
        // 国庆 2026: 10-01 to 10-07 off, Saturday 10-10 worked.
        QTest::newRow("official: over 国庆")
            << Rule{Rule::OfficialWorkdays} << QDate(2026, 9, 30) << QDate(2026, 10, 8);
        QTest::newRow("official: a make-up Saturday")
            << Rule{Rule::OfficialWorkdays} << QDate(2026, 10, 9) << QDate(2026, 10, 10);
        QTest::newRow("official: its Sunday is off")
            << Rule{Rule::OfficialWorkdays} << QDate(2026, 10, 10) << QDate(2026, 10, 12);
        QTest::newRow("the 31st in February")
            << Rule{Rule::Monthly, 0, 31} << QDate(2027, 1, 31) << QDate(2027, 2, 28);
        QTest::newRow("the 31st after a short month")
            << Rule{Rule::Monthly, 0, 31} << QDate(2027, 2, 28) << QDate(2027, 3, 31);
        QTest::newRow("the 30th in a leap February")
            << Rule{Rule::Monthly, 0, 30} << QDate(2028, 2, 1) << QDate(2028, 2, 29);
        QTest::newRow("the 15th later this month")
            << Rule{Rule::Monthly, 0, 15} << QDate(2026, 12, 9) << QDate(2026, 12, 15);
        QTest::newRow("month end") << Rule{Rule::Monthly, 0, 0} << QDate(2027, 1, 31) << QDate(2027, 2, 28);
        QTest::newRow("month end into the new year")
            << Rule{Rule::Monthly, 0, 0} << QDate(2026, 12, 31) << QDate(2027, 1, 31);
        QTest::newRow("2-29 in a common year")
            << Rule{Rule::Yearly, 2, 29} << QDate(2026, 12, 9) << QDate(2027, 2, 28);
        QTest::newRow("2-29 in a leap year")
            << Rule{Rule::Yearly, 2, 29} << QDate(2027, 12, 9) << QDate(2028, 2, 29);
        QTest::newRow("yearly on its own day")
            << Rule{Rule::Yearly, 12, 20} << QDate(2026, 12, 20) << QDate(2027, 12, 20);
        QTest::newRow("中秋") << Rule{Rule::LunarYearly, 8, 15} << QDate(2026, 12, 9) << QDate(2027, 9, 15);
        // 2027's 八月 began on 09-01: from inside it, this year's 十五 is still to come.
        QTest::newRow("中秋 from inside its month")
            << Rule{Rule::LunarYearly, 8, 15} << QDate(2027, 9, 10) << QDate(2027, 9, 15);
        QTest::newRow("正月初一 (2027)")
            << Rule{Rule::LunarYearly, 1, 1} << QDate(2026, 12, 9) << QDate(2027, 2, 6);
        // 2026's 腊月 has 29 days: 三十 falls on 廿九, the eve of 2027's 正月初一.
        QTest::newRow("三十 in a short month")
            << Rule{Rule::LunarYearly, 12, 30} << QDate(2026, 12, 9) << QDate(2027, 2, 5);
        QTest::newRow("六月三十 before 2025's 闰六月")
            << Rule{Rule::LunarYearly, 6, 30} << QDate(2025, 6, 1) << QDate(2025, 7, 24);
        QTest::newRow("not in 2025's 闰六月")
            << Rule{Rule::LunarYearly, 6, 8} << QDate(2025, 7, 24) << QDate(2026, 7, 21);
    }
    void theNextDate()
    {
        QFETCH(RepeatRule, rule);
        QFETCH(QDate, after);
        QFETCH(QDate, next);
        QCOMPARE(rule.next(after, HolidayCalendar::builtIn()), next);
    }

    // Done early, on time, late, or after occurrences missed: the next is after the finish date,
    // and never in the past.
    void theDateAfterADoneOccurrence()
    {
        const HolidayCalendar& holidays = HolidayCalendar::builtIn();
        const Rule rent{Rule::Monthly, 0, 15};
        QCOMPARE(rent.following(QDate(2026, 12, 15), QDate(2026, 12, 9), holidays), QDate(2027, 1, 15));
        QCOMPARE(rent.following(QDate(2026, 12, 15), QDate(2026, 12, 15), holidays), QDate(2027, 1, 15));
        QCOMPARE(rent.following(QDate(2026, 12, 15), QDate(2027, 1, 20), holidays), QDate(2027, 2, 15));
        QCOMPARE(rent.following(QDate(2026, 9, 15), QDate(2027, 1, 15), holidays), QDate(2027, 1, 15));
        // Made in 2025's 闰六月: it comes back in the plain 六月.
        const Rule born = Rule::of(Rule::LunarYearly, QDate(2025, 8, 1));
        QVERIFY(LunarDate::of(QDate(2025, 8, 1)).leapMonth);
        QCOMPARE(born, (Rule{Rule::LunarYearly, 6, 8}));
        QCOMPARE(Rule::of(Rule::Weekly, QDate(2026, 12, 9)), (Rule{Rule::Weekly, 0, 3}));
        QCOMPARE(Rule::of(Rule::Monthly, QDate(2026, 12, 31)), (Rule{Rule::Monthly, 0, 31}));
    }

    // The file's fields and the words: back as they were written, and nothing from a wrong one.
    void theFieldsReadBack()
    {
        const QList<Rule> rules = {{Rule::Daily},
                                   {Rule::Weekly, 0, 7},
                                   {Rule::Weekdays},
                                   {Rule::Weekends},
                                   {Rule::OfficialWorkdays},
                                   {Rule::Monthly, 0, 15},
                                   {Rule::Monthly, 0, 0},
                                   {Rule::Yearly, 2, 29},
                                   {Rule::LunarYearly, 8, 15},
                                   {Rule::LunarYearly, 11, 3},
                                   {Rule::LunarYearly, 12, 30}};
        for (const Rule& rule : rules)
            QCOMPARE(Rule::fromFields(Rule::kindName(rule.kind), rule.dayField()), rule);
        QCOMPARE((Rule{Rule::Weekly, 0, 3}.text()), QString::fromUtf8("每周三"));
        QCOMPARE((Rule{Rule::Monthly, 0, 15}.text()), QString::fromUtf8("每月 15 日"));
        QCOMPARE((Rule{Rule::Yearly, 12, 15}.text()), QString::fromUtf8("每年 12 月 15 日"));
        QCOMPARE((Rule{Rule::LunarYearly, 10, 29}.text()), QString::fromUtf8("农历每年十月廿九"));
        QCOMPARE(Rule::fromFields(u"农历每年", u"十一月初三"), (Rule{Rule::LunarYearly, 11, 3}));
        QCOMPARE(Rule::fromFields(u"农历每年", u"8-15"), (Rule{Rule::LunarYearly, 8, 15}));
        for (const auto& [kind, day] :
             {std::pair{u"每月", u"32"}, std::pair{u"每月", u""}, std::pair{u"每年", u"2-30"},
              std::pair{u"每周", u"周八"}, std::pair{u"每天", u"3"}, std::pair{u"每季", u""},
              std::pair{u"不重复", u""}, std::pair{u"农历每年", u"八月三十一"}})
            QVERIFY2(!Rule::fromFields(kind, day),
                     qPrintable(QString::fromUtf16(kind) + QString::fromUtf16(day)));
    }

    // What --repeat and the quick-add box take: a kind alone keeps the finish date's day; words
    // that say the day make the rule themselves.
    void theWordsSayTheRule()
    {
        const auto rule = [](const char* words) {
            const ResultOf<RepeatWords> read = RepeatWords::parse(QString::fromUtf8(words));
            return read ? read->ruleFor(QDate(2026, 12, 9)) : Rule{Rule::None, -1, -1};
        };
        QCOMPARE(rule("每月"), (Rule{Rule::Monthly, 0, 9}));
        QCOMPARE(rule("农历每年"), (Rule{Rule::LunarYearly, 11, 1}));
        QCOMPARE(rule("每周五"), (Rule{Rule::Weekly, 0, 5}));
        QCOMPARE(rule("每星期日"), (Rule{Rule::Weekly, 0, 7}));
        QCOMPARE(rule("每月15号"), (Rule{Rule::Monthly, 0, 15}));
        QCOMPARE(rule("每月三十一日"), (Rule{Rule::Monthly, 0, 31}));
        QCOMPARE(rule("每月月底"), (Rule{Rule::Monthly, 0, 0}));
        QCOMPARE(rule("每年12月20日"), (Rule{Rule::Yearly, 12, 20}));
        QCOMPARE(rule("每年2月29日"), (Rule{Rule::Yearly, 2, 29}));
        QCOMPARE(rule("每年农历八月十五"), (Rule{Rule::LunarYearly, 8, 15}));
        QCOMPARE(rule("off"), Rule{});
        for (const char* wrong : {"每两周", "每月32号", "每周八", "每年13月1日", "每年农历八月卅一", "明天"})
            QCOMPARE(rule(wrong), (Rule{Rule::None, -1, -1}));
    }
};

QTEST_GUILESS_MAIN(TestRepeatRule)
#include "tst_repeatrule.moc"
