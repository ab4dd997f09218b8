#include "TestBench.h"
#include "agenda/core/DueReminder.h"
#include "platform/RequestChannel.h"
#include "platform/files/Settings.h"
#include "platform/instance/SingleInstance.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocalSocket>
#include <QProcess>
#include <QSettings>
#include <QTest>

#include <memory>
#include <vector>

namespace {

struct Run
{
    int code = -1;
    QString out, err;
};

QProcess* start(QProcess& process, const QStringList& arguments)
{
    // No display at all: the backups are for scripts and for a machine that will not start.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(KESTRIN_BINARY), arguments);
    return &process;
}

Run result(QProcess& process)
{
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

Run kestrin(const QStringList& arguments)
{
    QProcess process;
    start(process, arguments);
    if (!process.waitForFinished(20000))
        return {};
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

} // namespace

class TestCli : public QObject
{
    Q_OBJECT
private slots:
    // A published holiday calendar goes through the helper (libical), the program's own text form
    // through the program; a year imported again replaces the earlier, a bad file changes nothing.
    void holidayCalendarsAreImported()
    {
        TestBench bench;
        const QString dir = bench.dir.path();
        bench.write("published.ics", "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//x//y//CN\r\n"
                                     "BEGIN:VEVENT\r\nUID:1\r\nDTSTART;VALUE=DATE:20270101\r\n"
                                     "DTEND;VALUE=DATE:20270104\r\nSUMMARY:元旦 休\r\nEND:VEVENT\r\n"
                                     "BEGIN:VEVENT\r\nUID:2\r\nDTSTART;VALUE=DATE:20270207\r\n"
                                     "SUMMARY:春节（班）\r\nEND:VEVENT\r\n"
                                     "BEGIN:VEVENT\r\nUID:3\r\nDTSTART;VALUE=DATE:20270214\r\n"
                                     "SUMMARY:情人节\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n");
        Run run = kestrin(
            {QStringLiteral("--holidays"), bench.path("published.ics"), QStringLiteral("--dir"), dir});
        QCOMPARE(run.code, 0);
        QVERIFY2(run.out.contains(QString::fromUtf8("忽略：“情人节”（第 15 行")), qPrintable(run.out));
        QVERIFY(run.out.endsWith(QString::fromUtf8("已收录的年份：2024、2025、2026、2027\n")));
        const QByteArray imported = bench.read("holidays.txt");
        QVERIFY(imported.endsWith(gbk("2027-01-01~2027-01-03 休 元旦\r\n2027-02-07 班 春节\r\n")));

        for (const char* bad :
             {"2027-02-30 休 春节\n", "BEGIN:VCALENDAR\nBEGIN:VEVENT\nSUMMARY:元旦 休\nEND:VEVENT\n"
                                      "END:VCALENDAR\n"}) {
            bench.write("bad.txt", bad);
            run =
                kestrin({QStringLiteral("--holidays"), bench.path("bad.txt"), QStringLiteral("--dir"), dir});
            QCOMPARE(run.code, 1);
            QVERIFY2(run.err.contains(QString::fromUtf8("第 1 行")) ||
                         run.err.contains(QString::fromUtf8("第 2 行")),
                     qPrintable(run.err));
            QCOMPARE(bench.read("holidays.txt"), imported);
        }

        bench.write("again.txt", "# 2027 as published later\n2027-01-01 休 元旦\n");
        run = kestrin({QStringLiteral("--holidays"), bench.path("again.txt"), QStringLiteral("--dir"), dir});
        QCOMPARE(run.code, 0);
        QVERIFY(bench.read("holidays.txt").endsWith(gbk("2027-01-01 休 元旦\r\n")));
        run = kestrin({QStringLiteral("--holidays"), QStringLiteral("--dir"), dir});
        QCOMPARE(run.out, QString::fromUtf8("已收录的年份：2024、2025、2026、2027\n"));
    }

    void anAddTakesDatesInWords()
    {
        TestBench bench;
        const QString dir = bench.dir.path();
        const QDate today = QDate::currentDate();
        const Run run =
            kestrin({QStringLiteral("--add"), QString::fromUtf8("买菜"), QStringLiteral("--finish"),
                     QString::fromUtf8("明天"), QStringLiteral("--dir"), dir});
        QCOMPARE(run.code, 0);
        QCOMPARE(run.out, QString::fromUtf8("已添加：买菜（设置 %1，完成 %2）\n")
                              .arg(today.toString(Qt::ISODate), today.addDays(1).toString(Qt::ISODate)));
        QCOMPARE(bench.read("agenda.txt"), agendaRecord("买菜", today, today.addDays(1)));
        const Run refused = kestrin({QStringLiteral("--add"), QStringLiteral("x"), QStringLiteral("--finish"),
                                     QString::fromUtf8("明日"), QStringLiteral("--dir"), dir});
        QCOMPARE(refused.code, 1);
        QVERIFY(refused.err.contains(QString::fromUtf8("可以写")));
        QCOMPARE(bench.read("agenda.txt"), agendaRecord("买菜", today, today.addDays(1)));
    }

    // A time said with the finish date is written with it and listed; --time changes it or takes
    // it away, and names an item that is not there.
    void anItemsTimeIsSetAndListed()
    {
        TestBench bench;
        const QString dir = bench.dir.path();
        const QDate tomorrow = QDate::currentDate().addDays(1);
        const auto run = [&](QStringList arguments) {
            return kestrin(arguments << QStringLiteral("--dir") << dir);
        };
        QCOMPARE(run({QStringLiteral("--add"), QString::fromUtf8("开会"), QStringLiteral("--finish"),
                      QString::fromUtf8("明天下午3点")})
                     .code,
                 0);
        QCOMPARE(run({QStringLiteral("--list")}).out,
                 QString::fromUtf8("%1 15:00\t1 天\t开会\n").arg(tomorrow.toString(Qt::ISODate)));
        QCOMPARE(
            run({QStringLiteral("--time"), QString::fromUtf8("开会"), QString::fromUtf8("上午九点半")}).out,
            QString::fromUtf8("已设置：开会（09:30 提醒）\n"));
        QVERIFY(
            bench.read("agenda.txt").endsWith(tomorrow.toString(Qt::ISODate).toLatin1() + " 09:30:00#\r\n"));
        QCOMPARE(run({QStringLiteral("--time"), QString::fromUtf8("开会"), QStringLiteral("off")}).code, 0);
        QCOMPARE(bench.read("agenda.txt"), agendaRecord("开会", QDate::currentDate(), tomorrow));
        const Run missing =
            run({QStringLiteral("--time"), QString::fromUtf8("散步"), QStringLiteral("9:00")});
        QCOMPARE(missing.code, 1);
        QCOMPARE(missing.err, QString::fromUtf8("kestrin: 没有“散步”这个日程。\n"));
        QCOMPARE(
            run({QStringLiteral("--time"), QString::fromUtf8("开会"), QString::fromUtf8("下午13点")}).code,
            2);
        // The log keeps it with the day (another item stays: the last one may not go).
        QCOMPARE(run({QStringLiteral("--add"), QString::fromUtf8("买菜"), QStringLiteral("--finish"),
                      QString::fromUtf8("明天")})
                     .code,
                 0);
        QCOMPARE(run({QStringLiteral("--time"), QString::fromUtf8("开会"), QStringLiteral("9:05")}).code, 0);
        QCOMPARE(run({QStringLiteral("--done"), QString::fromUtf8("开会")}).code, 0);
        QCOMPARE(run({QStringLiteral("--log")}).out.section(u'\t', 1, 1),
                 tomorrow.toString(Qt::ISODate) + QStringLiteral(" 09:05"));
    }

    // Subtasks, priority and tags from the command line: listed under the parent with their
    // columns, found by tag; a parent with open subtasks is done only with --with-subtasks.
    void subtasksArePlacedListedAndDone()
    {
        TestBench bench;
        const QString dir = bench.dir.path();
        const auto run = [&](auto... given) {
            QStringList arguments;
            for (const char* argument : {given...})
                arguments << QString::fromUtf8(argument);
            return kestrin(arguments << QStringLiteral("--dir") << dir);
        };
        QCOMPARE(run("--add", "装修", "--finish", "2026-12-20").code, 0);
        QCOMPARE(run("--add", "买瓷砖 #家庭 !高", "--finish", "2026-12-15", "--parent=装修").code, 0);
        QCOMPARE(run("--add", "贴瓷砖", "--finish", "2026-12-18", "--parent=买瓷砖").code, 0);
        QCOMPARE(run("--add", "买菜", "--finish", "2026-12-10").code, 0);
        QCOMPARE(run("--priority", "买菜", "中").code, 0);
        QCOMPARE(run("--tag", "买菜", "家庭，周末").code, 0);
        const QString listed = run("--list").out;
        QCOMPARE(listed.section(u'\n', 0, 0).section(u'\t', 2), QString::fromUtf8("装修"));
        QCOMPARE(listed.section(u'\n', 1, 1).section(u'\t', 2), QString::fromUtf8("  买瓷砖\t\t高\t家庭"));
        QCOMPARE(listed.section(u'\n', 2, 2).section(u'\t', 2), QString::fromUtf8("    贴瓷砖"));
        QCOMPARE(listed.section(u'\n', 3, 3).section(u'\t', 2), QString::fromUtf8("买菜\t\t中\t家庭,周末"));
        QCOMPARE(run("--list", "--tag", "周末").out.count(u'\n'), 1);
        QCOMPARE(run("--list", "--tag", "出差").code, 1);
        const Run refused = run("--done", "装修");
        QCOMPARE(refused.code, 1);
        QVERIFY(refused.err.contains(QString::fromUtf8("还有 2 个未完成的子任务")));
        QCOMPARE(run("--priority", "买菜", "很高").code, 2);
        QCOMPARE(run("--add", "x", "--finish", "明天", "--parent", "旧房子").code, 1);
        const QString sheet = bench.path("日程.csv");
        QCOMPARE(run("--export", sheet.toUtf8().constData()).out,
                 QString::fromUtf8("已导出 4 条日程到 %1\n").arg(sheet));
        QFile written(sheet);
        QVERIFY(written.open(QIODevice::ReadOnly));
        QCOMPARE(written.readAll().count("\r\n"), 5);
        QCOMPARE(run("--export", "-", "--format", "md").out.count(QStringLiteral("- [ ]")), 4);
        QCOMPARE(run("--export", "-").code, 2);
        QCOMPARE(run("--done", "装修", "--with-subtasks").code, 0);
        QCOMPARE(run("--list").out.count(u'\n'), 1);
        QCOMPARE(run("--log").out.count(u'\n'), 3);
        QCOMPARE(bench.read("agenda.txt").count("\r\n"), 1);
    }

    // --month prints a month as checked by hand against the published calendar and the
    // arrangement (a short 腊月's 除夕 on 廿九, the make-up days); a month it cannot read is a usage error.
    void aMonthIsPrinted()
    {
        TestBench bench;
        for (const char* month : {"2026-02", "2025-01"}) {
            QFile expected(QStringLiteral(KESTRIN_TEST_DATA "/month-%1.txt").arg(QLatin1String(month)));
            QVERIFY(expected.open(QIODevice::ReadOnly));
            const Run run = kestrin(
                {QStringLiteral("--month"), QLatin1String(month), QStringLiteral("--dir"), bench.dir.path()});
            QCOMPARE(run.code, 0);
            QCOMPARE(run.out, QString::fromUtf8(expected.readAll()));
        }
        QCOMPARE(kestrin({QStringLiteral("--month"), QStringLiteral("2026-13"), QStringLiteral("--dir"),
                          bench.dir.path()})
                     .code,
                 2);
    }

    // A repeating item from the command line: added with its rule, listed with it, done and moved
    // to its next date with the occurrence in the log; an item that is not there is an error.
    void aRepeatingItemIsDoneAndComesBack()
    {
        TestBench bench;
        const QString dir = bench.dir.path();
        const QDate today = QDate::currentDate();
        const QString day = today.toString(Qt::ISODate);
        QCOMPARE(
            kestrin({QStringLiteral("--add"), QString::fromUtf8("交房租"), QStringLiteral("--finish"), day,
                     QStringLiteral("--repeat"), QString::fromUtf8("每月"), QStringLiteral("--dir"), dir})
                .code,
            0);
        const QString rule = QString::fromUtf8("每月 %1 日").arg(today.day());
        QCOMPARE(kestrin({QStringLiteral("--list"), QStringLiteral("--dir"), dir}).out,
                 QString::fromUtf8("%1\t0 天\t交房租\t%2\n").arg(day, rule));
        const Run done =
            kestrin({QStringLiteral("--done"), QString::fromUtf8("交房租"), QStringLiteral("--dir"), dir});
        QCOMPARE(done.code, 0);
        QCOMPARE(bench.read("agenda.txt"), agendaRecord("交房租", today, today.addMonths(1)));
        QVERIFY(bench.read("my.log").contains(gbk("交房租: 设置日期") + day.toLatin1()));
        QCOMPARE(kestrin({QStringLiteral("--repeat"), QString::fromUtf8("交房租"), QStringLiteral("off"),
                          QStringLiteral("--dir"), dir})
                     .code,
                 0);
        QCOMPARE(bench.read("repeat.txt"), QByteArray());
        const Run missing =
            kestrin({QStringLiteral("--done"), QString::fromUtf8("没有"), QStringLiteral("--dir"), dir});
        QCOMPARE(missing.code, 1);
        QCOMPARE(missing.err, QString::fromUtf8("kestrin: 没有“没有”这个日程。\n"));
    }

    // A script finds in the agenda and in the log by pinyin initials or a month, the log's dates
    // printed before the text; nothing found is exit 1.
    void aScriptFindsInTheAgendaAndTheLog()
    {
        TestBench bench;
        const QString dir = bench.dir.path();
        bench.write("agenda.txt", agendaRecord("写周报", QDate(2026, 12, 1), QDate(2026, 12, 11)) +
                                      agendaRecord("交水电费", QDate(2026, 12, 1), QDate(2026, 12, 20)));
        bench.write("my.log",
                    gbk("交房租: 设置日期2026-11-16; 预定完成日期2026-12-15; 删除日期2026-12-06\r\n"
                        "买菜: 设置日期2026-10-01; 预定完成日期2026-10-02; 删除日期2026-10-02\r\n"));
        const auto find = [&dir](const char* what, const char* words) {
            return kestrin({QString::fromLatin1(what), QStringLiteral("--find"), QString::fromUtf8(words),
                            QStringLiteral("--dir"), dir});
        };
        const Run agenda = find("--list", "jsdf");
        QCOMPARE(agenda.code, 0);
        QVERIFY2(agenda.out.endsWith(QString::fromUtf8("\t交水电费\n")) && agenda.out.count(u'\n') == 1,
                 qPrintable(agenda.out));
        const Run log = find("--log", "12月");
        QCOMPARE(log.code, 0);
        QCOMPARE(log.out, QString::fromUtf8("2026-11-16\t2026-12-15\t2026-12-06\t交房租\n"));
        QCOMPARE(find("--log", "mc").out.count(u'\n'), 1);
        const Run none = find("--list", "zzz");
        QCOMPARE(none.code, 1);
        QVERIFY(none.out.isEmpty());
    }

    void theDailyWordsTimeIsSetWithoutADisplay()
    {
        TestBench bench;
        const QString dir = bench.dir.path();
        QCOMPARE(
            kestrin({QStringLiteral("--remind"), QStringLiteral("8:30"), QStringLiteral("--dir"), dir}).out,
            QString::fromUtf8("到期提醒：每天 08:30\n"));
        QCOMPARE(DueReminder::chosenTime(bench.path("kestrin.ini")), QTime(8, 30));
        QCOMPARE(
            kestrin({QStringLiteral("--remind"), QStringLiteral("25:00"), QStringLiteral("--dir"), dir}).code,
            2);
        QCOMPARE(
            kestrin({QStringLiteral("--remind"), QStringLiteral("off"), QStringLiteral("--dir"), dir}).code,
            0);
        QCOMPARE(DueReminder::chosenTime(bench.path("kestrin.ini")), std::nullopt);
    }

    void backupsAreListedAndRestoredWithoutADisplay()
    {
        TestBench bench;
        QTemporaryDir elsewhere;
        QDir(bench.dir.path()).mkdir(QStringLiteral("backup"));
        bench.write("backup/agenda-2026-12-05.txt",
                    agendaRecord("旧", QDate(2026, 12, 1), QDate(2026, 12, 2)));
        bench.write("agenda.txt", agendaRecord("新", QDate(2026, 12, 1), QDate(2026, 12, 2)));
        const QStringList dir{QStringLiteral("--dir"), bench.dir.path()};

        // The second folder is remembered; it holds a copy of its own.
        QFile remote(QDir(elsewhere.path()).filePath(QStringLiteral("my-2026-12-06.log")));
        QVERIFY(remote.open(QIODevice::WriteOnly) && remote.write("remote\r\n") == 8);
        remote.close();
        Run listed = kestrin(
            dir + QStringList{QStringLiteral("--backups"), QStringLiteral("--backup-dir"), elsewhere.path()});
        QCOMPARE(listed.code, 0);
        listed = kestrin(dir + QStringList{QStringLiteral("--backups")});
        QCOMPARE(listed.code, 0);
        QVERIFY2(listed.out.contains(QStringLiteral("2026-12-06  agenda.txt my.log")),
                 qPrintable(listed.out));
        QVERIFY2(listed.out.contains(QStringLiteral("2026-12-05  agenda.txt\n")), qPrintable(listed.out));

        {
            // A copy of the program running for the folder holds its files.
            SingleInstance running(bench.dir.path());
            QCOMPARE(running.claim(0), SingleInstance::First);
            QVERIFY(running.listen());
            const Run refused =
                kestrin(dir + QStringList{QStringLiteral("--restore"), QStringLiteral("2026-12-06")});
            QCOMPARE(refused.code, 1);
            QVERIFY2(refused.err.contains(QStringLiteral("正在使用")), qPrintable(refused.err));
            QCOMPARE(bench.read("agenda.txt"), agendaRecord("新", QDate(2026, 12, 1), QDate(2026, 12, 2)));
        }
        const Run restored =
            kestrin(dir + QStringList{QStringLiteral("--restore"), QStringLiteral("2026-12-06")});
        QCOMPARE(restored.code, 0);
        QCOMPARE(bench.read("agenda.txt"), agendaRecord("旧", QDate(2026, 12, 1), QDate(2026, 12, 2)));
        QCOMPARE(bench.read("my.log"), QByteArray("remote\r\n"));
        QCOMPARE(bench.read("agenda.txt.before-restore"),
                 agendaRecord("新", QDate(2026, 12, 1), QDate(2026, 12, 2)));
        QCOMPARE(kestrin(dir + QStringList{QStringLiteral("--restore"), QStringLiteral("2026-13-01")}).code,
                 2);
    }

    // With no display the program says so and ends, instead of Qt's abort and a core dump; the
    // second backup folder is still remembered, as a task for scripts.
    void noDisplayIsToldNotAborted()
    {
        TestBench bench;
        QTemporaryDir elsewhere;
        const QStringList dir{QStringLiteral("--dir"), bench.dir.path()};
        Run run = kestrin(dir);
        QCOMPARE(run.code, 1);
        QCOMPARE(run.err, QString::fromUtf8(
                              "kestrin: 找不到图形显示（DISPLAY 与 WAYLAND_DISPLAY 都未设置），无法打开窗口。"
                              "不需要窗口的用法见 kestrin --help。\n"));
        run = kestrin(dir + QStringList{QStringLiteral("--backup-dir"), elsewhere.path()});
        QCOMPARE(run.code, 0);
        QVERIFY2(run.out.contains(QDir::toNativeSeparators(elsewhere.path())), qPrintable(run.out));
        QCOMPARE(QSettings(bench.path("kestrin.ini"), QSettings::IniFormat)
                     .value(Settings::name(Settings::Key::BackupElsewhere)),
                 QVariant(elsewhere.path()));
    }

    // Scripts list and add without a display; an add is checked as the entry box checks it and
    // appended as 添加日程 appends it.
    void aScriptListsAndAdds()
    {
        TestBench bench;
        const QDate today = QDate::currentDate();
        bench.write("agenda.txt", agendaRecord("早就过期", QDate(2001, 1, 1), today.addDays(-3)) +
                                      agendaRecord("还早", today, today.addDays(2)));
        const QStringList dir{QStringLiteral("--dir"), bench.dir.path()};
        const QString finish = today.addDays(9).toString(Qt::ISODate);
        Run run = kestrin(dir + QStringList{QStringLiteral("--add"), QString::fromUtf8("买菜,做饭"),
                                            QStringLiteral("--finish"), finish});
        QCOMPARE(run.code, 0);
        QCOMPARE(bench.read("agenda.txt"), agendaRecord("早就过期", QDate(2001, 1, 1), today.addDays(-3)) +
                                               agendaRecord("还早", today, today.addDays(2)) +
                                               agendaRecord("买菜,做饭", today, today.addDays(9)));
        run = kestrin(dir + QStringList{QStringLiteral("--list")});
        QCOMPARE(run.code, 0);
        QCOMPARE(run.out, QString::fromUtf8("%1\t逾期 3 天\t早就过期\n%2\t2 天\t还早\n%3\t9 天\t买菜,做饭\n")
                              .arg(today.addDays(-3).toString(Qt::ISODate),
                                   today.addDays(2).toString(Qt::ISODate), finish));
        QCOMPARE(kestrin(dir + QStringList{QStringLiteral("--list"), QStringLiteral("--overdue")}).out,
                 QString::fromUtf8("%1\t逾期 3 天\t早就过期\n").arg(today.addDays(-3).toString(Qt::ISODate)));

        const QByteArray before = bench.read("agenda.txt");
        const QList<QStringList> refused = {
            {QStringLiteral("--add"), QString::fromUtf8("还早"), QStringLiteral("--finish"), finish},
            {QStringLiteral("--add"), QStringLiteral("a\"b"), QStringLiteral("--finish"), finish},
            {QStringLiteral("--add"), QStringLiteral("x"), QStringLiteral("--finish"),
             QStringLiteral("2026-02-30")},
            {QStringLiteral("--add"), QString(), QStringLiteral("--finish"), finish},
            {QStringLiteral("--add"), QStringLiteral("bell\aescape\x1b"), QStringLiteral("--finish"),
             finish}};
        for (const QStringList& args : refused)
            QCOMPARE(kestrin(dir + args).code, 1);
        QCOMPARE(kestrin(dir + QStringList{QStringLiteral("--add"), QStringLiteral("x")}).code, 2);
        QCOMPARE(bench.read("agenda.txt"), before);

        // A NUL typed into the file by hand is listed as it stands, and so is every line after it.
        QByteArray withNul = agendaRecord("还早", today, today.addDays(2));
        withNul.insert(1, '\0');
        bench.write("agenda.txt", withNul + agendaRecord("后面", today, today.addDays(2)));
        run = kestrin(dir + QStringList{QStringLiteral("--list")});
        QCOMPARE(run.code, 0);
        QCOMPARE(run.out,
                 QString::fromUtf8("%1\t2 天\t").arg(today.addDays(2).toString(Qt::ISODate)) + QChar(0) +
                     QString::fromUtf8("还早\n%1\t2 天\t后面\n").arg(today.addDays(2).toString(Qt::ISODate)));
    }

    // A script's addition is the day's first change like any other: yesterday's files are kept
    // first, byte for byte.
    void aScriptsAddKeepsYesterdaysFiles()
    {
        TestBench bench;
        const QDate today = QDate::currentDate();
        bench.write("agenda.txt", agendaRecord("昨天的", today.addDays(-1), today));
        bench.write("my.log", gbk("旧: 设置日期2026-12-01; 预定完成日期2026-12-02; 删除日期2026-12-03\r\n"));
        const QDateTime yesterday(today.addDays(-1), QTime(18, 0));
        const QByteArray agenda = bench.read("agenda.txt"), log = bench.read("my.log");
        for (const char* name : {"agenda.txt", "my.log"}) {
            QFile file(bench.path(name));
            QVERIFY(file.open(QIODevice::ReadWrite) &&
                    file.setFileTime(yesterday, QFileDevice::FileModificationTime));
        }
        const Run run = kestrin({QStringLiteral("--dir"), bench.dir.path(), QStringLiteral("--add"),
                                 QString::fromUtf8("新事"), QStringLiteral("--finish"),
                                 today.addDays(3).toString(Qt::ISODate)});
        QCOMPARE(run.code, 0);
        const QString date = yesterday.date().toString(Qt::ISODate);
        QCOMPARE(bench.read(qPrintable(QStringLiteral("backup/agenda-%1.txt").arg(date))), agenda);
        QCOMPARE(bench.read(qPrintable(QStringLiteral("backup/my-%1.log").arg(date))), log);
        QVERIFY(bench.read("agenda.txt") != agenda);
    }

    // kestrin.ini read only in part is never rewritten, the second backup folder's included.
    void aBadSettingsFileIsNotRewritten()
    {
        TestBench bench;
        QTemporaryDir elsewhere;
        const QByteArray settings = "[alarms\nrow0\\time=07:30\n[backup]\ndir=/old\n";
        bench.write("kestrin.ini", settings);
        const Run run = kestrin(
            {QStringLiteral("--dir"), bench.dir.path(), QStringLiteral("--backup-dir"), elsewhere.path()});
        QCOMPARE(run.code, 1);
        QVERIFY2(run.err.contains(QString::fromUtf8("kestrin.ini 第 1 行格式有误")), qPrintable(run.err));
        QVERIFY2(run.err.contains(QString::fromUtf8("异地备份目录未记住")), qPrintable(run.err));
        QCOMPARE(bench.read("kestrin.ini"), settings);
    }

    // Scripts started together with no copy running: each waits for another's short hold of the
    // folder's lock, and none takes it for a running program.
    void addsStartedTogetherAreAllWritten()
    {
        TestBench bench;
        constexpr int scripts = 16;
        std::vector<std::unique_ptr<QProcess>> processes;
        for (int i = 0; i < scripts; ++i) {
            processes.push_back(std::make_unique<QProcess>());
            start(*processes.back(), {QStringLiteral("--dir"), bench.dir.path(), QStringLiteral("--add"),
                                      QStringLiteral("script %1").arg(i), QStringLiteral("--finish"),
                                      QStringLiteral("2026-12-31")});
        }
        for (auto& process : processes) {
            QVERIFY(process->waitForFinished(30000));
            const Run run = result(*process);
            QVERIFY2(run.code == 0, qPrintable(run.err));
        }
        const QByteArray agenda = bench.read("agenda.txt");
        QCOMPARE(agenda.count("\r\n"), scripts);
        for (int i = 0; i < scripts; ++i)
            QCOMPARE(agenda.count("\"script " + QByteArray::number(i) + "\""), 1);
    }

    // With a copy running for the folder, the add is handed to it and its answer is the script's.
    void anAddIsHandedToTheRunningCopy()
    {
        TestBench bench;
        SingleInstance running(bench.dir.path());
        QCOMPARE(running.claim(0), SingleInstance::First);
        QVERIFY(running.listen());
        // Nobody else may hand the running copy a change.
        const QFileInfo socket(running.lockFilePath().chopped(5));
        QVERIFY(socket.exists());
        QCOMPARE(socket.permissions() &
                     ~(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser),
                 QFile::Permissions());
        QList<QJsonObject> requests;
        running.requestHandler = [&requests](const QJsonObject& request) {
            requests.append(request);
            return requests.size() == 1 ? QJsonObject{{QStringLiteral("ok"), true}}
                                        : RequestChannel::refusal(QString::fromUtf8("此日程已经存在!"));
        };
        for (int expected : {0, 1}) {
            QProcess process;
            start(process,
                  {QStringLiteral("--dir"), bench.dir.path(), QStringLiteral("--add"),
                   QString::fromUtf8("开会"), QStringLiteral("--finish"), QStringLiteral("2026-12-09")});
            QTRY_COMPARE_WITH_TIMEOUT(process.state(), QProcess::NotRunning, 20000);
            const Run run = result(process);
            QCOMPARE(run.code, expected);
            if (expected)
                QVERIFY2(run.err.contains(QString::fromUtf8("此日程已经存在!")), qPrintable(run.err));
        }
        QCOMPARE(requests.size(), 2);
        QCOMPARE(requests[0].value(QStringLiteral("text")).toString(), QString::fromUtf8("开会"));
        QCOMPARE(requests[0].value(QStringLiteral("finish")).toString(), QStringLiteral("2026-12-09"));
        // The dates as read by the script, which was started today.
        const QDate set = QDate::fromString(requests[0].value(QStringLiteral("set")).toString(), Qt::ISODate);
        QVERIFY(set.isValid() && qAbs(set.daysTo(QDate::currentDate())) <= 1);
        QVERIFY(!QFile::exists(bench.path("agenda.txt"))); // the running copy writes, not the script
    }

    // The login entry starts this very program with its folder, and goes again.
    void autostartComesAndGoes()
    {
        TestBench bench;
        QTemporaryDir config;
        qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
        const QString entry = QDir(config.path()).filePath(QStringLiteral("autostart/kestrin.desktop"));
        const QStringList dir{QStringLiteral("--dir"), bench.dir.path()};
        QCOMPARE(kestrin(dir + QStringList{QStringLiteral("--autostart"), QStringLiteral("on")}).code, 0);
        QFile file(entry);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY2(
            file.readAll().contains("\nExec=" KESTRIN_BINARY " --dir " + bench.dir.path().toUtf8() + "\n"),
            qPrintable(entry));
        QVERIFY(kestrin({QStringLiteral("--autostart")}).out.contains(QString::fromUtf8("开")));
        QCOMPARE(kestrin({QStringLiteral("--autostart"), QStringLiteral("off")}).code, 0);
        QVERIFY(!QFile::exists(entry));
        qunsetenv("XDG_CONFIG_HOME");
    }

    // The socket takes untrusted input: what is no request is answered and never handled.
    void badRequestsAreRefusedUnhandled()
    {
        TestBench bench;
        SingleInstance running(bench.dir.path());
        QCOMPARE(running.claim(0), SingleInstance::First);
        QVERIFY(running.listen());
        int handled = 0;
        running.requestHandler = [&handled](const QJsonObject&) {
            ++handled;
            return QJsonObject{{QStringLiteral("ok"), true}};
        };
        for (const QByteArray& bad : {QByteArray("add 开会\n"), QByteArray("[1,2]\n"),
                                      QByteArray(RequestChannel::maxRequest + 10, 'x')}) {
            QLocalSocket socket;
            socket.connectToServer(QFileInfo(running.lockFilePath()).absoluteFilePath().chopped(5));
            QVERIFY(socket.waitForConnected(2000));
            socket.write(bad);
            QTRY_VERIFY(socket.canReadLine());
            const QJsonObject answer = QJsonDocument::fromJson(socket.readLine()).object();
            QCOMPARE(answer.value(QStringLiteral("ok")).toBool(true), false);
            QVERIFY(!answer.value(QStringLiteral("message")).toString().isEmpty());
        }
        QCOMPARE(handled, 0);
    }
};

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
