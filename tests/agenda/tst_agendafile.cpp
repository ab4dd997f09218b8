#include "TestBench.h"
#include "agenda/core/AgendaFile.h"
#include "agenda/core/AgendaTexts.h"
#include "calendar/core/DateText.h"

#include <QTest>

namespace {

AgendaFile::Load loadData(const char* name, QDate today = QDate(2002, 12, 27))
{
    DiskTextFiles files;
    return AgendaFile::load(files, QStringLiteral(KESTRIN_TEST_DATA "/") + QString::fromUtf8(name), today);
}

} // namespace

class TestAgendaFile : public QObject
{
    Q_OBJECT
private slots:
    void recordIsByteExact()
    {
        QCOMPARE(
            AgendaFile::formatRecord(QString::fromUtf8("完成报告"), QDate(2002, 12, 20), QDate(2002, 12, 27)),
            QByteArray("\"") + gbk("完成报告") + "\",#2002-12-20#,#2002-12-27#\r\n");
        // Leading zeros in month and day, a comma kept inside the quotes.
        QCOMPARE(
            AgendaFile::formatRecord(QString::fromUtf8("买菜,做饭"), QDate(2003, 1, 5), QDate(2003, 1, 5)),
            QByteArray("\"") + gbk("买菜,做饭") + "\",#2003-01-05#,#2003-01-05#\r\n");
    }

    void roundTripKeepsEveryCharacter()
    {
        TestBench bench;
        const QList<AgendaItem> items = {
            {QString::fromUtf8("买菜,做饭"), QDate(2003, 1, 5), QDate(2003, 1, 6)},
            {QString::fromUtf8("  leading blanks and 😀 and €"), QDate(1999, 12, 31), QDate(9999, 12, 31)},
            {QString(), QDate(2002, 1, 1), QDate(2002, 1, 1)},
        };
        QVERIFY(AgendaFile::rewrite(bench.files, bench.path("agenda.txt"), items));
        const auto load = AgendaFile::load(bench.files, bench.path("agenda.txt"), QDate(2003, 1, 5));
        QVERIFY2(load.result.ok(), qPrintable(load.result.error()));
        QCOMPARE(load.items.size(), 3);
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(load.items[i].text, items[i].text);
            QCOMPARE(load.items[i].setDate, items[i].setDate);
            QCOMPARE(load.items[i].finishDate, items[i].finishDate);
        }
        // A far date needs no 16-bit day count.
        QCOMPARE(load.items[1].daysLeft, int(QDate(2003, 1, 5).daysTo(QDate(9999, 12, 31))));
    }

    // A time rides on the finish date as a VB date literal's time: written with seconds, read as a
    // hand edit leaves it, refused when impossible or on the set date (never read as no time).
    void aTimeRidesOnTheFinishDate()
    {
        TestBench bench;
        AgendaItem timed{QString::fromUtf8("开会"), QDate(2026, 12, 9), QDate(2026, 12, 10)};
        timed.time = QTime(15, 0);
        QVERIFY(AgendaFile::rewrite(bench.files, bench.path("agenda.txt"), {timed}));
        QCOMPARE(bench.read("agenda.txt"),
                 QByteArray("\"") + gbk("开会") + "\",#2026-12-09#,#2026-12-10 15:00:00#\r\n");
        const struct
        {
            const char* finish;
            QTime time; // invalid: the line is refused
        } cases[] = {{"#2026-12-10 15:00:00#", QTime(15, 0)},
                     {"#2026-12-10 9:05#", QTime(9, 5)},
                     {"#2026-12-10 23:59:59#", QTime(23, 59, 59)},
                     {"#2026-12-10 24:00#", {}},
                     {"#2026-12-10 15:60#", {}},
                     {"#2026-12-10 15:0#", {}},
                     {"#2026-12-10 15#", {}},
                     {"#2026-12-10 #", {}}};
        for (const auto& c : cases) {
            bench.write("agenda.txt", gbk("\"开会\",#2026-12-09#,") + c.finish + "\r\n");
            const auto load = AgendaFile::load(bench.files, bench.path("agenda.txt"), QDate(2026, 12, 9));
            QVERIFY2(load.result.ok() == c.time.isValid(), c.finish);
            if (c.time.isValid()) {
                QCOMPARE(load.items[0].finishDate, QDate(2026, 12, 10));
                QCOMPARE(load.items[0].time, c.time);
            }
        }
        bench.write("agenda.txt", gbk("\"开会\",#2026-12-09 08:00:00#,#2026-12-10#\r\n"));
        QVERIFY(!AgendaFile::load(bench.files, bench.path("agenda.txt"), QDate(2026, 12, 9)).result.ok());
    }

    void goodFilesLoad_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QStringList>("contents");
        const QString a = QString::fromUtf8("完成报告"), b = QString::fromUtf8("买菜,做饭");
        QTest::newRow("gbk crlf") << "agenda_gbk.txt" << QStringList{a, b, QStringLiteral("Call Bob")};
        QTest::newRow("lf only") << "agenda_lf.txt" << QStringList{a, b};
        QTest::newRow("no final line end") << "agenda_no_final_line_end.txt" << QStringList{a, b};
        QTest::newRow("blank lines skipped") << "agenda_blank_lines.txt" << QStringList{a, b};
        QTest::newRow("empty file") << "agenda_empty.txt" << QStringList{};
        QTest::newRow("missing file") << "no_such_agenda.txt" << QStringList{};
    }
    void goodFilesLoad()
    {
        QFETCH(QString, file);
        QFETCH(QStringList, contents);
        const auto load = loadData(file.toUtf8().constData());
        QVERIFY2(load.result.ok(), qPrintable(load.result.error()));
        QStringList got;
        for (const AgendaItem& item : load.items)
            got.append(item.text);
        QCOMPARE(got, contents);
    }

    void daysLeftAgainstToday()
    {
        const auto load = loadData("agenda_gbk.txt", QDate(2002, 12, 27));
        QCOMPARE(load.items[0].daysLeft, 0);  // due today: not overdue
        QCOMPARE(load.items[1].daysLeft, 10); // 2003-01-06
        QCOMPARE(load.items[2].daysLeft, -25);
    }

    void badFilesNameFileLineAndReason_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("message");
        QTest::newRow("missing field")
            << "agenda_missing_field.txt"
            << QString::fromUtf8("agenda_missing_field.txt 第 2 行无法读取：缺少完成日期");
        QTest::newRow("unterminated quote")
            << "agenda_unterminated_quote.txt"
            << QString::fromUtf8("agenda_unterminated_quote.txt 第 2 行无法读取：日程内容缺少结尾的双引号");
        QTest::newRow("impossible date")
            << "agenda_impossible_date.txt"
            << QString::fromUtf8("agenda_impossible_date.txt 第 3 行无法读取：完成日期不是有效日期");
        QTest::newRow("bad bytes") << "agenda_bad_bytes.txt"
                                   << QString::fromUtf8(
                                          "agenda_bad_bytes.txt 第 2 行无法读取：含有无法识别的字符");
        QTest::newRow("utf-8 with bom")
            << "agenda_utf8_bom.txt"
            << QString::fromUtf8("agenda_utf8_bom.txt 第 1 行无法读取：文字是 UTF-8 编码，应为 GBK 编码");
        QTest::newRow("extra field")
            << "agenda_extra_field.txt"
            << QString::fromUtf8("agenda_extra_field.txt 第 1 行无法读取：完成日期之后有多余的内容");
    }
    void badFilesNameFileLineAndReason()
    {
        QFETCH(QString, file);
        QFETCH(QString, message);
        const auto load = loadData(file.toUtf8().constData());
        QVERIFY(!load.result.ok());
        QVERIFY(load.items.isEmpty()); // never a half-loaded table
        QCOMPARE(load.result.error(), message);
    }

    void foreignAndHugeInputNeverHangsOrCrashes()
    {
        TestBench bench;
        const QDate day(2026, 12, 7);
        const QByteArray good = "\"a\",#2026-01-01#,#2026-02-01#";
        struct Case
        {
            const char* name;
            QByteArray bytes;
            bool loads;
        };
        const QList<Case> cases = {
            {"nul byte", good + QByteArrayLiteral("\r\n\"b\0c\",#2026-01-01#,#2026-02-01#\r\n"),
             true}, // kept as written
            {"10 MB line", "\"" + QByteArray(10 * 1024 * 1024, 'x') + "\",#2026-01-01#,#2026-02-01#\r\n",
             true},
            {"CR alone", good + "\r" + good + "\r\n", false},
            {"utf-8 without bom", "\"\xe4\xb9\xb0\xe8\x8f\x9c\",#2026-01-01#,#2026-02-01#\r\n", true},
            {"only garbage", QByteArray(4096, '\xff'), false},
        };
        for (const Case& c : cases) {
            bench.write("agenda.txt", c.bytes);
            const auto load = AgendaFile::load(bench.files, bench.path("agenda.txt"), day);
            QVERIFY2(load.result.ok() == c.loads, c.name);
            QVERIFY2(load.result.ok() || load.result.error().contains(QString::fromUtf8("第 1 行")) ||
                         load.result.error().contains(QString::fromUtf8("第 2 行")),
                     c.name);
        }
        QByteArray many;
        for (int i = 0; i < 100000; ++i)
            many += "\"item " + QByteArray::number(i) + "\",#2026-01-01#,#2026-02-01#\n";
        bench.write("agenda.txt", many);
        const auto load = AgendaFile::load(bench.files, bench.path("agenda.txt"), day);
        QVERIFY(load.result.ok());
        QCOMPARE(load.items.size(), 100000); // no 16-bit limit
    }

    // Every day of a year written and read back: days that share their first eight characters
    // (2026-12-0…) are told apart, however a load keeps the days it has read.
    void everyDayOfAYearReadsBack()
    {
        TestBench bench;
        QList<AgendaItem> items;
        for (QDate day(2026, 1, 1); day.year() == 2026; day = day.addDays(1))
            items.append({QStringLiteral("d") + DateText::format(day), day.addDays(-day.day() + 1), day, 0});
        QVERIFY(AgendaFile::rewrite(bench.files, bench.path("agenda.txt"), items));
        const auto load = AgendaFile::load(bench.files, bench.path("agenda.txt"), QDate(2026, 6, 1));
        QVERIFY(load.result.ok());
        QCOMPARE(load.items.size(), items.size());
        for (qsizetype i = 0; i < items.size(); ++i) {
            QCOMPARE(load.items[i].finishDate, items[i].finishDate);
            QCOMPARE(load.items[i].setDate, items[i].setDate);
        }
    }

    void dateTexts()
    {
        QCOMPARE(DateText::format(QDate(2003, 1, 5)), QStringLiteral("2003-01-05"));
        QCOMPARE(DateText::parse(u"2002-12-27").value(), QDate(2002, 12, 27));
        QCOMPARE(DateText::parse(u"2002-1-5").value(), QDate(2002, 1, 5));
        QCOMPARE(DateText::parse(u" 2002-01-05 ").value(), QDate(2002, 1, 5));
        for (const char* bad : {"", "2002-02-30", "2002-13-01", "02-12-27", "999-01-01", "20021-01-01",
                                "2002/12/27", "2002-12-27x", "tomorrow", "2002-012-01"})
            QVERIFY2(!DateText::parse(QString::fromUtf8(bad)).ok(), bad);
        // Days are counted by hand both ways, not by QDate: every year's month ends and leap days
        // against it.
        for (int year = 1000; year <= 9999; ++year) {
            for (int month = 1; month <= 12; ++month) {
                for (int day : {1, 28, 29, 30, 31}) {
                    const QString text = QStringLiteral("%1-%2-%3").arg(year).arg(month).arg(day);
                    const QDate expected(year, month, day);
                    if (DateText::read(text) != expected ||
                        DateText::read(text).isValid() != expected.isValid())
                        QFAIL(qPrintable(text));
                    if (expected.isValid() && DateText::format(expected) != expected.toString(u"yyyy-MM-dd"))
                        QFAIL(qPrintable(DateText::format(expected)));
                }
            }
        }
    }

    void summaryTexts()
    {
        QCOMPARE(AgendaTexts::overdueSentence(2),
                 QString::fromUtf8("Kestrin提醒您：您有 2 件事务逾期未完成!"));
        QCOMPARE(AgendaTexts::overdueSentence(0),
                 QString::fromUtf8("Kestrin提醒您：您有 0 件事务逾期未完成!"));
        QCOMPARE(AgendaTexts::trayTip(0), QString::fromUtf8("Kestrin—Quorrel精品"));
        QCOMPARE(AgendaTexts::trayTip(3), QString::fromUtf8("Kestrin—您有3个日程逾期未完成!"));
        QCOMPARE(AgendaTexts::remark(0), QString::fromUtf8("成事在胸，井井有条，您将大有所为！"));
        QCOMPARE(AgendaTexts::remark(1),
                 QString::fromUtf8("千里之行始于足下！从现在做起，从每一件事做起。成功最终属于您。"));
        QCOMPARE(AgendaTexts::daysLeft(5), QString::fromUtf8("5 天"));
        QCOMPARE(AgendaTexts::daysLeft(0), QString::fromUtf8("0 天"));
        QCOMPARE(AgendaTexts::daysLeft(-3), QString::fromUtf8("逾期 3 天"));
    }
};

QTEST_GUILESS_MAIN(TestAgendaFile)
#include "platform/files/DiskTextFiles.h"
#include "tst_agendafile.moc"
