#include "find/core/FindIndex.h"

#include <QTest>

// What a find matches: words, pinyin whole, by initials or by starts of syllables, and a log
// entry's dates; what it must not.
class TestFind : public QObject
{
    Q_OBJECT
private slots:
    void matching_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("found");
        const auto row = [](const char* name, const char* line, const char* typed, bool found) {
            QTest::newRow(name) << QString::fromUtf8(line) << QString::fromUtf8(typed) << found;
        };
        row("a word", "写周报给老板", "周报", true);
        row("two words, both", "写周报给老板", "老板 周报", true);
        row("two words, one missing", "写周报给老板", "老板 月报", false);
        row("case", "交PPT", "ppt", true);
        row("full width typed", "交PPT", "ＰＰＴ", true);
        row("full width in the line", "交ＰＰＴ", "ppt", true);
        row("pinyin whole", "写周报", "xiezhoubao", true);
        row("pinyin in words", "写周报", "xie zhou", true);
        row("initials", "写周报", "xzb", true);
        row("initials, in the middle", "交水电费", "sdf", true);
        row("initials, four", "交水电费", "jsdf", true);
        row("starts of syllables", "写周报", "xiezb", true);
        row("capital pinyin", "写周报", "XZB", true);
        row("not from inside a syllable", "写周报", "iezhou", false);
        row("not out of order", "写周报", "zxb", false);
        row("Han and Latin mixed", "交PPT给王总", "jppt", true);
        row("Han and Latin, whole", "交PPT给王总", "jiaopptgei", true);
        row("a Latin word is one syllable", "交PPT给王总", "ptgei", false);
        row("ü typed as v", "买绿植", "mlvz", true);
        // 多音字: every reading of each character finds, as phones' contact search does.
        row("长 as in 长大", "游长城", "yzc", true);
        row("长 as in 长城", "游长城", "youchangcheng", true);
        row("长城 by initials", "游长城", "ycc", true);
        row("银行 as hang", "去银行", "yinhang", true);
        row("银行 by initials, hang", "去银行", "yh", true);
        row("银行 by initials, xing", "去银行", "yx", true);
        row("重庆 as chong", "去重庆", "cq", true);
        row("还钱 as huan", "还钱", "hq", true);
        row("音乐 as yue", "音乐会", "yyh", true);
        row("音乐 as le", "音乐会", "ylh", true);
        row("no reading the characters lack", "去银行", "yb", false);
        row("a blank and punctuation part syllables", "交：水电费 ok", "jsdfok", true);
        row("nothing typed", "写周报", "  ", true);
    }
    void matching()
    {
        QFETCH(QString, line);
        QFETCH(QString, typed);
        QFETCH(bool, found);
        QCOMPARE(FindQuery(typed).matches(FindKey::of(line)), found);
    }

    void logDates_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("found");
        QTest::newRow("year and month") << QStringLiteral("2026-12") << true;
        QTest::newRow("a whole date") << QStringLiteral("2026-12-05") << true;
        QTest::newRow("another month") << QStringLiteral("2026-11") << false;
        QTest::newRow("a year alone") << QStringLiteral("2026") << true;
        QTest::newRow("another year") << QStringLiteral("2025") << false;
        QTest::newRow("12月") << QString::fromUtf8("12月") << true;
        QTest::newRow("１２月, full width") << QString::fromUtf8("１２月") << true;
        QTest::newRow("9月") << QString::fromUtf8("9月") << true; // the set date
        QTest::newRow("2026年12月5日") << QString::fromUtf8("2026年12月5日") << true;
        QTest::newRow("2026年12月7日, another day") << QString::fromUtf8("2026年12月7日") << false;
        QTest::newRow("2027年") << QString::fromUtf8("2027年") << false;
        QTest::newRow("a date and initials") << QString::fromUtf8("12月 xzb") << true;
    }
    void logDates()
    {
        QFETCH(QString, typed);
        QFETCH(bool, found);
        const FindKey key = FindKey::of(QString::fromUtf8("写周报"),
                                        {QDate(2026, 9, 30), QDate(2026, 12, 5), QDate(2026, 12, 6)});
        QCOMPARE(FindQuery(typed).matches(key), found);
        // The agenda's lines have no dates to find by.
        if (typed.contains(u'月'))
            QVERIFY(!FindQuery(typed).matches(FindKey::of(QString::fromUtf8("写周报"))));
    }

    void anIndexKeepsItsOrderAndReadsANewLoad()
    {
        FindIndex index;
        index.setLines(
            {QString::fromUtf8("交水电费"), QString::fromUtf8("写周报"), QString::fromUtf8("交房租")});
        QCOMPARE(index.matching(FindQuery(u"j")), (QList<int>{0, 2}));
        QCOMPARE(index.matching(FindQuery(u"")), (QList<int>{0, 1, 2}));
        index.setLines({QString::fromUtf8("写周报"), QString::fromUtf8("交房租")});
        QCOMPARE(index.matching(FindQuery(u"xzb")), (QList<int>{0}));
    }
};

QTEST_GUILESS_MAIN(TestFind)
#include "tst_find.moc"
