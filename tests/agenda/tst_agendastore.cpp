#include "TestBench.h"
#include "agenda/core/AgendaFile.h"
#include "agenda/core/AgendaStore.h"
#include "agenda/core/LogRestore.h"
#include "log/core/LogFile.h"
#include "log/core/LogStore.h"
#include "platform/files/DiskTextFiles.h"
#include "platform/files/TextCodec.h"

#include <QScopeGuard>
#include <QTest>

#include <QThread>
#include <array>
#include <barrier>

namespace {

const QDate today(2026, 12, 7);

} // namespace

class TestAgendaStore : public QObject
{
    Q_OBJECT
private slots:
    void entryIsByteExact()
    {
        QCOMPARE(
            LogFile::formatEntry(QString::fromUtf8("完成报告"), QStringLiteral("2002-12-20"),
                                 QStringLiteral("2002-12-27"), QStringLiteral("2002-12-28")),
            QString::fromUtf8("完成报告: 设置日期2002-12-20; 预定完成日期2002-12-27; 删除日期2002-12-28"));
    }

    void duplicateTextsLeaveTogetherWithAnEntryEach()
    {
        TestBench bench;
        bench.write("agenda.txt", agendaRecord("同名", QDate(2026, 1, 1), QDate(2026, 1, 2)) +
                                      agendaRecord("other", today, today) +
                                      agendaRecord("同名", QDate(2026, 2, 1), QDate(2026, 2, 2)));
        AgendaStore store(bench.files, bench.path("agenda.txt"), bench.path("my.log"));
        QVERIFY(store.load(today));
        const StoreChange change = store.remove(QString::fromUtf8("同名"), today);
        QCOMPARE(change.status, StoreChange::Done);
        QVERIFY(change.archived);
        QCOMPARE(bench.read("agenda.txt"), agendaRecord("other", today, today));
        QCOMPARE(bench.read("my.log"),
                 gbk("同名: 设置日期2026-01-01; 预定完成日期2026-01-02; 删除日期2026-12-07\r\n"
                     "同名: 设置日期2026-02-01; 预定完成日期2026-02-02; 删除日期2026-12-07\r\n"));
    }

    void entryIsReadFromItsEnd_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("content"); // empty: no entry
        QTest::addColumn<QDate>("set");
        QTest::addColumn<QDate>("finish");
        QTest::newRow("plain")
            << QString::fromUtf8("完成报告: 设置日期2002-12-20; 预定完成日期2002-12-27; 删除日期2002-12-28")
            << QString::fromUtf8("完成报告") << QDate(2002, 12, 20) << QDate(2002, 12, 27);
        QTest::newRow("marks in the text")
            << QString::fromUtf8("a: b; c: 设置日期x; 预定完成日期y: 设置日期2002-1-5; "
                                 "预定完成日期2002-12-27; 删除日期2002-12-28")
            << QString::fromUtf8("a: b; c: 设置日期x; 预定完成日期y") << QDate(2002, 1, 5)
            << QDate(2002, 12, 27);
        QTest::newRow("empty line") << QString() << QString() << QDate() << QDate();
        QTest::newRow("empty text") << QString::fromUtf8(
                                           ": 设置日期2002-12-20; 预定完成日期2002-12-27; 删除日期2002-12-28")
                                    << QString() << QDate() << QDate();
        QTest::newRow("trailing words")
            << QString::fromUtf8("x: 设置日期2002-12-20; 预定完成日期2002-12-27; 删除日期2002-12-28 ok")
            << QString() << QDate() << QDate();
        QTest::newRow("no such day")
            << QString::fromUtf8("x: 设置日期2002-02-30; 预定完成日期2002-12-27; 删除日期2002-12-28")
            << QString() << QDate() << QDate();
        QTest::newRow("marks out of order")
            << QString::fromUtf8("x; 预定完成日期2002-12-27: 设置日期2002-12-20; 删除日期2002-12-28")
            << QString() << QDate() << QDate();
        QTest::newRow("quote") << QString::fromUtf8(
                                      "a\"b: 设置日期2002-12-20; 预定完成日期2002-12-27; 删除日期2002-12-28")
                               << QString() << QDate() << QDate();
    }
    void entryIsReadFromItsEnd()
    {
        QFETCH(QString, line);
        QFETCH(QString, content);
        QFETCH(QDate, set);
        QFETCH(QDate, finish);
        TestBench bench;
        bench.write("agenda.txt", agendaRecord("other", today, today));
        bench.write("my.log", gbk("seed\r\n") + TextCodec::encode(line).value() + "\r\n" + gbk("后\r\n"));
        AgendaStore agenda(bench.files, bench.path("agenda.txt"), bench.path("my.log"));
        LogStore log(bench.files, bench.path("my.log"));
        QVERIFY(agenda.load(today));
        log.load();
        const QByteArray logBefore = bench.read("my.log");
        const StoreChange change = LogRestore::restore(agenda, log, 1);
        if (content.isEmpty()) {
            QCOMPARE(change.status, StoreChange::Refused);
            QCOMPARE(change.message, QString::fromUtf8("此条日志无法恢复：格式不符。"));
            QCOMPARE(bench.read("my.log"), logBefore);
            QCOMPARE(bench.read("agenda.txt"), agendaRecord("other", today, today));
            return;
        }
        QCOMPARE(change.status, StoreChange::Done);
        QCOMPARE(bench.read("agenda.txt"),
                 agendaRecord("other", today, today) + AgendaFile::formatRecord(content, set, finish));
        QCOMPARE(bench.read("my.log"), gbk("seed\r\n后\r\n"));
    }

    // An item's time goes wherever the item goes: through 修改日程 (whose boxes hold days only),
    // into my.log when deleted, back with 恢复到日程, and on to a repeating item's next day.
    void aTimeGoesWhereItsItemGoes()
    {
        TestBench bench;
        bench.write("agenda.txt", gbk("\"开会\",#2026-12-01#,#2026-12-07 15:00:00#\r\n"
                                      "\"other\",#2026-12-01#,#2026-12-20#\r\n"));
        AgendaStore agenda(bench.files, bench.path("agenda.txt"), bench.path("my.log"));
        LogStore log(bench.files, bench.path("my.log"));
        QVERIFY(agenda.load(today));
        QCOMPARE(
            agenda.modify(QString::fromUtf8("开会"), {QString::fromUtf8("开周会"), today, QDate(2026, 12, 8)})
                .status,
            StoreChange::Done);
        QVERIFY(agenda.load(today));
        QCOMPARE(agenda.remove(QString::fromUtf8("开周会"), today).status, StoreChange::Done);
        QCOMPARE(bench.read("my.log"),
                 gbk("开周会: 设置日期2026-12-07; 预定完成日期2026-12-08 15:00; 删除日期2026-12-07\r\n"));
        QVERIFY(agenda.load(today));
        log.load();
        QCOMPARE(LogRestore::restore(agenda, log, 0).status, StoreChange::Done);
        QVERIFY(bench.read("agenda.txt").endsWith(gbk("\"开周会\",#2026-12-07#,#2026-12-08 15:00:00#\r\n")));

        bench.write("agenda.txt", gbk("\"周报\",#2026-12-01#,#2026-12-04 17:00:00#\r\n"));
        bench.write("repeat.txt", gbk("\"周报\",每周,周五\r\n"));
        QVERIFY(agenda.load(today));
        QCOMPARE(agenda.complete(QString::fromUtf8("周报"), today).status, StoreChange::Done);
        QCOMPARE(bench.read("agenda.txt"), gbk("\"周报\",#2026-12-07#,#2026-12-11 17:00:00#\r\n"));
    }

    // A control character has no business in an item: it would reach every script that reads the
    // list (a NUL ends a C string). Every way in refuses it and writes nothing; a tab may stay.
    void controlCharactersNeverEnter()
    {
        TestBench bench;
        const QByteArray agendaBefore = agendaRecord("other", today, today);
        bench.write("agenda.txt", agendaBefore);
        const QByteArray entry =
            TextCodec::encode(
                QStringLiteral("a\u0007b: 设置日期2026-01-01; 预定完成日期2026-01-02; 删除日期2026-12-07"))
                .value() +
            "\r\n";
        bench.write("my.log", entry);
        AgendaStore agenda(bench.files, bench.path("agenda.txt"), bench.path("my.log"));
        LogStore log(bench.files, bench.path("my.log"));
        QVERIFY(agenda.load(today));
        log.load();
        const QString refusal = QString::fromUtf8("日程内容不能包含控制字符!");
        for (const char16_t c : {u'\0', u'\a', u'\x1b', u'\x1f', u'\x7f'}) {
            const QString text = QStringLiteral("a") + QChar(c) + QStringLiteral("b");
            QCOMPARE(agenda.checkEntry(text, nullptr).error(), refusal);
            const StoreChange added = agenda.addNew({text, today, QDate(2026, 12, 31)}, today);
            QCOMPARE(added.status, StoreChange::Refused);
            QCOMPARE(added.message, refusal);
        }
        // The file writes four-digit years: a date past them is refused, not written.
        QCOMPARE(agenda.addNew({QStringLiteral("far"), today, QDate(10000, 1, 1)}, today).message,
                 QString::fromUtf8("请输入有效日期！"));
        const StoreChange restored = LogRestore::restore(agenda, log, 0);
        QCOMPARE(restored.status, StoreChange::Refused);
        QCOMPARE(restored.message, refusal);
        QCOMPARE(bench.read("agenda.txt"), agendaBefore);
        QCOMPARE(bench.read("my.log"), entry);
        QVERIFY(agenda.checkEntry(QStringLiteral("a\tb"), nullptr));
    }

    // A sync rewrites the agenda and adds to my.log in another process while the panels add items
    // and delete log lines. A write that fell between another's check and its write would be lost
    // without a word: an item appended to a file being replaced, an entry under a log rewrite.
    void noWriteIsLostToAWriterElsewhere()
    {
        TestBench bench;
        bench.write("agenda.txt", agendaRecord("other", today, today));
        QByteArray seeds;
        for (int i = 0; i < 100; ++i)
            seeds += "seed " + QByteArray::number(i) + "\r\n";
        bench.write("my.log", seeds);
        std::atomic<bool> writing{true};
        int entries = 0;
        const std::unique_ptr<QThread> sync(QThread::create([&] {
            DiskTextFiles files;
            AgendaStore agenda(files, bench.path("agenda.txt"), bench.path("my.log"));
            while (writing) {
                const QString entry = QStringLiteral("sync %1").arg(entries);
                if (agenda.load(today) &&
                    agenda.replaceAll(agenda.table().items, {entry}).status == StoreChange::Done)
                    ++entries;
            }
        }));
        sync->start();
        DiskTextFiles files;
        AgendaStore agenda(files, bench.path("agenda.txt"), bench.path("my.log"));
        LogStore log(files, bench.path("my.log"));
        const int additions = 300;
        // A failed check leaves early: the writer must not outlive what it writes with.
        const auto stopSync = [&] {
            writing = false;
            sync->wait();
        };
        auto stopped = qScopeGuard(stopSync);
        for (int i = 0; i < additions; ++i) {
            QVERIFY(agenda.load(today));
            QCOMPARE(
                agenda.addNew({QStringLiteral("item %1").arg(i), today, QDate(2026, 12, 31)}, today).status,
                StoreChange::Done);
            if (i % 3 == 0) {
                StoreChange removed;
                do {
                    log.load();
                    removed = log.removeLine(
                        int(log.lines().texts().indexOf(QStringLiteral("seed %1").arg(i / 3))));
                } while (removed.status == StoreChange::ChangedElsewhere);
                QCOMPARE(removed.status, StoreChange::Done);
            }
        }
        stopped.dismiss();
        stopSync();
        QVERIFY(agenda.load(today));
        QCOMPARE(agenda.table().count(), additions + 1);
        const QStringList lines = log.load().texts();
        QCOMPARE(lines.count(), entries);
        QVERIFY(entries > 0);
        for (const QString& line : lines)
            QVERIFY2(line.startsWith(QStringLiteral("sync ")), qPrintable(line));
    }

    // Two writers (a script and the running program) adding one text at once, each with the table
    // it loaded before: the check for a twin and the write are one step, so one line goes in.
    void oneTextAddedTwiceAtOnceIsOneItem()
    {
        TestBench bench;
        bench.write("agenda.txt", agendaRecord("other", today, today));
        const int rounds = 100;
        std::array<int, 2> done{};
        std::barrier bothLoaded(2);
        const auto writer = [&](int id) {
            DiskTextFiles files;
            for (int round = 0; round < rounds; ++round) {
                AgendaStore agenda(files, bench.path("agenda.txt"), bench.path("my.log"));
                (void)agenda.load(today); // a failed load refuses the add: not counted
                bothLoaded.arrive_and_wait();
                if (agenda.addNew({QStringLiteral("twin %1").arg(round), today, QDate(2026, 12, 31)}, today)
                        .status == StoreChange::Done)
                    ++done[id];
            }
        };
        const std::unique_ptr<QThread> script(QThread::create(writer, 0));
        const std::unique_ptr<QThread> program(QThread::create(writer, 1));
        script->start();
        program->start();
        script->wait();
        program->wait();
        AgendaStore agenda(bench.files, bench.path("agenda.txt"), bench.path("my.log"));
        QVERIFY(agenda.load(today));
        QCOMPARE(agenda.table().count(), rounds + 1);
        QCOMPARE(done[0] + done[1], rounds);
    }

    void restoreIsRefusedWithoutWriting()
    {
        TestBench bench;
        const QByteArray entry =
            gbk("同名: 设置日期2026-01-01; 预定完成日期2026-01-02; 删除日期2026-12-07\r\n");
        bench.write("my.log", entry);
        LogStore log(bench.files, bench.path("my.log"));
        log.load();
        AgendaStore agenda(bench.files, bench.path("agenda.txt"), bench.path("my.log"));

        bench.write("agenda.txt", agendaRecord("同名", today, today));
        QVERIFY(agenda.load(today));
        StoreChange change = LogRestore::restore(agenda, log, 0);
        QCOMPARE(change.message, QString::fromUtf8("此日程已经存在!"));

        bench.write("agenda.txt", "\"torn\r\n");
        QVERIFY(!agenda.load(today));
        change = LogRestore::restore(agenda, log, 0);
        QCOMPARE(change.status, StoreChange::Refused);
        QCOMPARE(change.message, agenda.checkAdd().error());
        QVERIFY(change.message.contains(QStringLiteral("agenda.txt")));

        // The agenda changed since it was loaded: the table's answer to "already there?" is stale.
        bench.write("agenda.txt", agendaRecord("other", today, today));
        QVERIFY(agenda.load(today));
        bench.write("agenda.txt", agendaRecord("同名", today, today));
        change = LogRestore::restore(agenda, log, 0);
        QCOMPARE(change.status, StoreChange::ChangedElsewhere);
        QCOMPARE(bench.read("agenda.txt"), agendaRecord("同名", today, today));
        QCOMPARE(bench.read("my.log"), entry);

        // The log changed since it was loaded: its row 0 may be another line now.
        bench.write("agenda.txt", agendaRecord("other", today, today));
        QVERIFY(agenda.load(today));
        const QByteArray edited = gbk("手加的\r\n") + entry;
        bench.write("my.log", edited);
        change = LogRestore::restore(agenda, log, 0);
        QCOMPARE(change.status, StoreChange::ChangedElsewhere);
        QCOMPARE(change.message, QString::fromUtf8("my.log 已在别处修改，已重新读取，请再操作一次。"));
        QCOMPARE(bench.read("agenda.txt"), agendaRecord("other", today, today));
        QCOMPARE(bench.read("my.log"), edited);
    }
};

QTEST_GUILESS_MAIN(TestAgendaStore)
#include "tst_agendastore.moc"
