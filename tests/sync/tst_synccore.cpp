#include "FakeCalDavServer.h"
#include "TestBench.h"
#include "agenda/core/AgendaStore.h"
#include "agenda/core/AgendaTree.h"
#include "agenda/core/LogRestore.h"
#include "log/core/LogStore.h"
#include "platform/files/DiskTextFiles.h"
#include "sync/core/AgendaSync.h"
#include "sync/core/CalDavClient.h"
#include "sync/core/Multistatus.h"
#include "sync/core/SyncState.h"
#include "sync/core/TaskCodec.h"
#include "sync/core/TaskListFinder.h"
#include "sync/schedule/SyncRenames.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>
#include <QThread>

#include <atomic>

namespace {

const QDate today(2026, 12, 7);
const QUrl listUrl(QStringLiteral("https://dav.example/u/tasks/"));

TaskValues values(const char* text, QDate set, QDate finish)
{
    return {QString::fromUtf8(text), set, finish};
}

// A folder, a task list on a fake server, and the link between them.
struct SyncBench
{
    TestBench bench;
    FakeCalDavServer server;
    CalDavClient client{server, listUrl};
    SyncState state{listUrl, QStringLiteral("u"), false, {}, {}, {}};

    AgendaSync::Report sync()
    {
        AgendaSync sync(bench.files, bench.clock, bench.dir.path(), client);
        return sync.run(state);
    }
    AgendaStore store()
    {
        AgendaStore store(bench.files, bench.path("agenda.txt"), bench.path("my.log"));
        if (!store.load(today))
            qWarning("agenda.txt did not load");
        return store;
    }
    QList<AgendaItem> items() { return store().table().items; }
    QStringList texts()
    {
        QStringList result;
        for (const AgendaItem& item : items())
            result.append(item.text);
        return result;
    }
};

void verifySynced(const AgendaSync::Report& report, int uploaded, int downloaded, int completed,
                  int conflicts)
{
    QVERIFY2(report.result, qPrintable(report.result.error()));
    QCOMPARE(report.uploaded, uploaded);
    QCOMPARE(report.downloaded, downloaded);
    QCOMPARE(report.completed, completed);
    QCOMPARE(report.conflicts, conflicts);
}

} // namespace

class TestSyncCore : public QObject
{
    Q_OBJECT
private slots:
    // A link file damaged past its link still names the user, so that unlinking takes the
    // password out of the secret store; one that is no JSON names nobody.
    void aDamagedLinkStillNamesItsUser()
    {
        TestBench bench;
        bench.write(
            "caldav.json",
            "{\"url\": \"https://h/dav/tasks/\", \"user\": \"lin\", \"entries\": [{\"uid\": \"x\"}]}");
        const ResultOf<SyncState> loaded = SyncState::load(bench.files, bench.path("caldav.json"));
        QVERIFY(!loaded);
        QVERIFY(loaded.error().startsWith(QStringLiteral("caldav.json 已损坏（第 1 项不完整）")));
        QCOMPARE(SyncState::linkIn(bench.files, bench.path("caldav.json")).user, QStringLiteral("lin"));
        bench.write("caldav.json", "{\"url\": ");
        QVERIFY(!SyncState::load(bench.files, bench.path("caldav.json")));
        QVERIFY(SyncState::linkIn(bench.files, bench.path("caldav.json")).user.isEmpty());
        QVERIFY(SyncState::load(bench.files, bench.path("none.json"))->url.isEmpty());
    }

    // The rules as agreed come back from the link file with their days.
    void theAgreedRulesReadBack()
    {
        TestBench bench;
        SyncState state{
            QUrl(QStringLiteral("https://h/dav/tasks/")), QStringLiteral("lin"), false, {}, {}, {}};
        for (const RepeatRule& rule :
             {RepeatRule{RepeatRule::Weekly, 0, 5}, RepeatRule{RepeatRule::Monthly, 0, 0},
              RepeatRule{RepeatRule::LunarYearly, 8, 15}, RepeatRule{RepeatRule::Weekdays}})
            state.entries.append({QStringLiteral("u%1").arg(state.entries.size()),
                                  QStringLiteral("/t.ics"),
                                  "\"1\"",
                                  {QStringLiteral("a"), today, today, rule}});
        QVERIFY(state.save(bench.files, bench.path("caldav.json")));
        const ResultOf<SyncState> again = SyncState::load(bench.files, bench.path("caldav.json"));
        QVERIFY(again);
        for (int i = 0; i < state.entries.size(); ++i)
            QCOMPARE(again->entries[i].values.repeat, state.entries[i].values.repeat);
    }

    void firstSyncJoinsBothSidesWithoutTwins()
    {
        SyncBench b;
        b.bench.write("agenda.txt", agendaRecord("买牛奶", QDate(2026, 12, 1), QDate(2026, 12, 10)) +
                                        agendaRecord("写报告", QDate(2026, 12, 2), QDate(2026, 12, 5)));
        b.server.storeTask(QStringLiteral("p1"), values("买牛奶", QDate(2026, 12, 1), QDate(2026, 12, 10)));
        b.server.storeTask(QStringLiteral("p2"), values("看电影", QDate(2026, 12, 3), QDate(2026, 12, 9)));

        verifySynced(b.sync(), 1, 1, 0, 0);
        QCOMPARE(b.texts(), (QStringList{QString::fromUtf8("买牛奶"), QString::fromUtf8("写报告"),
                                         QString::fromUtf8("看电影")}));
        QCOMPARE(b.server.tasks().keys(),
                 (QStringList{QString::fromUtf8("买牛奶"), QString::fromUtf8("写报告"),
                              QString::fromUtf8("看电影")}));
        QCOMPARE(b.items()[2].finishDate, QDate(2026, 12, 9));

        // Nothing changed: one request, nothing written.
        const QByteArray before = b.bench.read("agenda.txt");
        b.server.methods.clear();
        verifySynced(b.sync(), 0, 0, 0, 0);
        QCOMPARE(b.server.methods, QList<QByteArray>{"REPORT"});
        QCOMPARE(b.bench.read("agenda.txt"), before);
    }

    // iCalendar readers drop the blanks around a summary: the agenda's text keeps them, and the
    // task read back without them is no change and no new item.
    void blanksAroundATextAreNoChange()
    {
        SyncBench b;
        b.bench.write("agenda.txt", agendaRecord("写报告 ", today, today));
        verifySynced(b.sync(), 1, 0, 0, 0);
        // The phone saves it again, unchanged: a new ETag, and the text read without its blank.
        const ServerTask task = b.server.tasks().value(QString::fromUtf8("写报告"));
        b.server.store(task.href, task.ics);
        verifySynced(b.sync(), 0, 0, 0, 0);
        QCOMPARE(b.texts(), QStringList{QString::fromUtf8("写报告 ")});
    }

    void deletionsCompleteTasksAndCompletionsDeleteItems()
    {
        SyncBench b;
        b.bench.write("agenda.txt", agendaRecord("买牛奶", QDate(2026, 12, 1), QDate(2026, 12, 10)) +
                                        agendaRecord("写报告", QDate(2026, 12, 2), QDate(2026, 12, 5)) +
                                        agendaRecord("留下", today, today));
        verifySynced(b.sync(), 3, 0, 0, 0);
        QCOMPARE(b.store().remove(QString::fromUtf8("写报告"), today).status, StoreChange::Done);
        const ServerTask milk = b.server.tasks().value(QString::fromUtf8("买牛奶"));
        b.server.storeTask(milk.uid, milk.values, false); // completed on the phone on 2026-12-06

        // One write completes 写报告 there; 买牛奶 leaves the agenda.
        verifySynced(b.sync(), 1, 0, 2, 0);
        QVERIFY(!b.server.tasks().value(QString::fromUtf8("写报告")).open);
        QCOMPARE(b.texts(), QStringList{QString::fromUtf8("留下")});
        QCOMPARE(b.bench.read("my.log"),
                 gbk("写报告: 设置日期2026-12-02; 预定完成日期2026-12-05; 删除日期2026-12-07\r\n"
                     "买牛奶: 设置日期2026-12-01; 预定完成日期2026-12-10; 删除日期2026-12-06\r\n"));
        // A task deleted outright leaves the agenda the same way, dated today.
        b.server.erase(b.server.hrefOf(QString::fromUtf8("留下")));
        verifySynced(b.sync(), 0, 0, 1, 0);
        QVERIFY(b.texts().isEmpty());
        QVERIFY(b.bench.read("my.log").endsWith(
            gbk("留下: 设置日期2026-12-07; 预定完成日期2026-12-07; 删除日期2026-12-07\r\n")));

        // 恢复到日程 opens the completed task again, with its own UID.
        const QString uid = b.server.tasks().value(QString::fromUtf8("写报告")).uid;
        LogStore log(b.bench.files, b.bench.path("my.log"));
        log.load();
        AgendaStore store = b.store();
        QCOMPARE(LogRestore::restore(store, log, 0).status, StoreChange::Done);
        verifySynced(b.sync(), 1, 0, 0, 0);
        const ServerTask reopened = b.server.tasks().value(QString::fromUtf8("写报告"));
        QVERIFY(reopened.open);
        QCOMPARE(reopened.uid, uid);
        QCOMPARE(b.server.count(), 2); // 买牛奶, completed, and this one: none beside it
    }

    void bothChangedKeepsTheAgendasVersionAndArchivesTheServers()
    {
        SyncBench b;
        b.bench.write("agenda.txt", agendaRecord("买牛奶", QDate(2026, 12, 1), QDate(2026, 12, 10)) +
                                        agendaRecord("写报告", QDate(2026, 12, 2), QDate(2026, 12, 5)));
        verifySynced(b.sync(), 2, 0, 0, 0);
        QCOMPARE(b.store()
                     .modify(QString::fromUtf8("买牛奶"),
                             {QString::fromUtf8("买牛奶"), QDate(2026, 12, 1), QDate(2026, 12, 20), 0})
                     .status,
                 StoreChange::Done);
        const QString uid = b.server.tasks().value(QString::fromUtf8("买牛奶")).uid;
        b.server.storeTask(uid, values("买牛奶", QDate(2026, 12, 1), QDate(2026, 12, 15)));
        // The phone changes it once more between our read and our write: the write gets 412, and
        // the sync reads and decides again.
        bool changedAgain = false;
        b.server.fault = [&b, &changedAgain, uid](const DavRequest& request) -> std::optional<DavReply> {
            if (request.method == "PUT" && !changedAgain) {
                changedAgain = true;
                b.server.storeTask(uid, values("买牛奶", QDate(2026, 12, 1), QDate(2026, 12, 18)));
            }
            return std::nullopt;
        };
        // The agenda's version goes up; the server's is archived, not completed.
        verifySynced(b.sync(), 1, 0, 0, 1);
        QCOMPARE(b.items()[0].finishDate, QDate(2026, 12, 20));
        QCOMPARE(b.server.tasks().value(QString::fromUtf8("买牛奶")).values.finish, QDate(2026, 12, 20));
        QCOMPARE(b.server.tasks().value(QString::fromUtf8("买牛奶")).uid, uid);
        QCOMPARE(b.bench.read("my.log"),
                 gbk("买牛奶: 设置日期2026-12-01; 预定完成日期2026-12-15; 删除日期2026-12-07\r\n"
                     "买牛奶: 设置日期2026-12-01; 预定完成日期2026-12-18; 删除日期2026-12-07\r\n"));
    }

    // Completed on the phone while moved here: the agenda's version stays open, and the completion
    // that lost goes to my.log, on the day it was completed.
    void aCompletionThatLostIsArchived()
    {
        SyncBench b;
        b.bench.write("agenda.txt", agendaRecord("写报告", QDate(2026, 12, 2), QDate(2026, 12, 5)));
        verifySynced(b.sync(), 1, 0, 0, 0);
        QCOMPARE(b.store()
                     .modify(QString::fromUtf8("写报告"),
                             {QString::fromUtf8("写报告"), QDate(2026, 12, 2), QDate(2026, 12, 9), 0})
                     .status,
                 StoreChange::Done);
        const QString uid = b.server.tasks().value(QString::fromUtf8("写报告")).uid;
        b.server.storeTask(uid, values("写报告", QDate(2026, 12, 2), QDate(2026, 12, 5)), false);
        verifySynced(b.sync(), 1, 0, 0, 1);
        QCOMPARE(b.items()[0].finishDate, QDate(2026, 12, 9));
        QCOMPARE(b.bench.read("my.log"),
                 gbk("写报告: 设置日期2026-12-02; 预定完成日期2026-12-05; 删除日期2026-12-06\r\n"));
    }

    void aNewTextKeepsItsTask()
    {
        SyncBench b;
        b.bench.write("agenda.txt",
                      agendaRecord("买牛奶", today, today) + agendaRecord("写报告", today, today));
        verifySynced(b.sync(), 2, 0, 0, 0);
        const QString uid = b.server.tasks().value(QString::fromUtf8("买牛奶")).uid;
        // Renamed twice before the next sync, as the running program notes it.
        for (const auto& [from, to] : {std::pair{"买牛奶", "买豆奶"}, std::pair{"买豆奶", "买酸奶"}}) {
            QCOMPARE(
                b.store().modify(QString::fromUtf8(from), {QString::fromUtf8(to), today, today, 0}).status,
                StoreChange::Done);
            QVERIFY(SyncRenames::record(b.bench.files, b.bench.path("caldav.renames"),
                                        QString::fromUtf8(from), QString::fromUtf8(to)));
        }
        verifySynced(b.sync(), 1, 0, 0, 0);
        const QMap<QString, ServerTask> tasks = b.server.tasks();
        QCOMPARE(tasks.keys(), (QStringList{QString::fromUtf8("买酸奶"), QString::fromUtf8("写报告")}));
        QCOMPARE(tasks.value(QString::fromUtf8("买酸奶")).uid, uid);
        QVERIFY(!QFile::exists(b.bench.path("caldav.renames")));
        QVERIFY(!QFile::exists(b.bench.path("my.log")));
    }

    // A repeating item completed on the phone moves on here, its occurrence in the log on the day
    // it was done, and its task opens again at the next date; renamed there, it keeps its rule.
    void aRepeatingTaskDoneThereComesBack()
    {
        SyncBench b;
        b.bench.write("agenda.txt", agendaRecord("交房租", QDate(2026, 11, 16), QDate(2026, 12, 15)) +
                                        agendaRecord("留下", today, today));
        b.bench.write("repeat.txt", gbk("\"交房租\",每月,15\r\n"));
        verifySynced(b.sync(), 2, 0, 0, 0);
        const ServerTask rent = b.server.tasks().value(QString::fromUtf8("交房租"));
        b.server.storeTask(rent.uid, rent.values, false); // done on the phone on 2026-12-06
        verifySynced(b.sync(), 1, 0, 1, 0);
        QCOMPARE(b.bench.read("agenda.txt"),
                 agendaRecord("交房租", today, QDate(2027, 1, 15)) + agendaRecord("留下", today, today));
        QCOMPARE(b.bench.read("my.log"),
                 gbk("交房租: 设置日期2026-11-16; 预定完成日期2026-12-15; 删除日期2026-12-06\r\n"));
        const ServerTask reopened = b.server.tasks().value(QString::fromUtf8("交房租"));
        QVERIFY(reopened.open);
        QCOMPARE(reopened.values.finish, QDate(2027, 1, 15));
        QVERIFY(reopened.ics.contains("RRULE:FREQ=MONTHLY;BYMONTHDAY=15\r\n"));

        b.server.storeTask(rent.uid,
                           {QString::fromUtf8("交房租金"), today, QDate(2027, 1, 15), rent.values.repeat});
        verifySynced(b.sync(), 0, 1, 0, 0);
        QCOMPARE(b.items().first().text, QString::fromUtf8("交房租金"));
        QCOMPARE(b.items().first().repeat, (RepeatRule{RepeatRule::Monthly, 0, 15}));
    }

    // A timed item's time is part of what is agreed: a sync after a sync sends nothing, and an
    // occurrence done on the phone moves the item on with its time.
    void aTimedRepeatingItemKeepsItsTime()
    {
        SyncBench b;
        b.bench.write("agenda.txt", gbk("\"开周会\",#2026-12-01#,#2026-12-04 17:00:00#\r\n"));
        b.bench.write("repeat.txt", gbk("\"开周会\",每周,周五\r\n"));
        verifySynced(b.sync(), 1, 0, 0, 0);
        const ServerTask meeting = b.server.tasks().value(QString::fromUtf8("开周会"));
        QCOMPARE(meeting.values.time, QTime(17, 0));
        b.server.methods.clear();
        verifySynced(b.sync(), 0, 0, 0, 0);
        QVERIFY(!b.server.methods.contains("PUT"));
        b.server.storeTask(meeting.uid, meeting.values, false); // done on the phone
        verifySynced(b.sync(), 1, 0, 1, 0);
        QCOMPARE(b.bench.read("agenda.txt"), gbk("\"开周会\",#2026-12-07#,#2026-12-11 17:00:00#\r\n"));
    }

    // Occurrences completed there as phones do it: the series moved on along its rule (Tasks.org,
    // OpenTasks), or a completed occurrence kept beside it (Thunderbird): the item moves on here
    // with the occurrence in the log, and nothing is written back. A date moved there by hand, not
    // along the rule, is a change like any other.
    void occurrencesDoneThereMoveTheItemOn()
    {
        SyncBench b;
        b.bench.write("agenda.txt", agendaRecord("交房租", QDate(2026, 11, 16), QDate(2026, 12, 15)) +
                                        agendaRecord("写周报", QDate(2026, 12, 1), QDate(2026, 12, 4)));
        b.bench.write("repeat.txt", gbk("\"交房租\",每月,15\r\n\"写周报\",每周,周五\r\n"));
        verifySynced(b.sync(), 2, 0, 0, 0);
        const RepeatRule monthly{RepeatRule::Monthly, 0, 15};
        const QString rent = b.server.tasks().value(QString::fromUtf8("交房租")).uid;
        b.server.storeTask(rent,
                           {QString::fromUtf8("交房租"), QDate(2026, 12, 7), QDate(2027, 1, 15), monthly});
        const ServerTask report = b.server.tasks().value(QString::fromUtf8("写周报"));
        QByteArray ics = report.ics;
        ics.insert(
            ics.lastIndexOf("END:VCALENDAR"),
            "BEGIN:VTODO\r\nUID:" + report.uid.toUtf8() +
                "\r\nDTSTAMP:20261205T020011Z\r\nSUMMARY:写周报\r\nRECURRENCE-ID;VALUE=DATE:20261201\r\n"
                "DUE;VALUE=DATE:20261204\r\nSTATUS:COMPLETED\r\nCOMPLETED:20261205T120000Z\r\nEND:VTODO\r\n");
        b.server.store(report.href, ics);
        b.server.methods.clear();

        verifySynced(b.sync(), 0, 0, 2, 0);
        QCOMPARE(b.items()[0].finishDate, QDate(2027, 1, 15));
        QCOMPARE(b.items()[0].repeat, monthly);
        QCOMPARE(b.items()[1].finishDate, QDate(2026, 12, 11));
        QCOMPARE(b.bench.read("my.log"),
                 gbk("交房租: 设置日期2026-11-16; 预定完成日期2026-12-15; 删除日期2026-12-07\r\n"
                     "写周报: 设置日期2026-12-01; 预定完成日期2026-12-04; 删除日期2026-12-05\r\n"));
        QVERIFY(!b.server.methods.contains("PUT"));
        verifySynced(b.sync(), 0, 0, 0, 0);

        b.server.storeTask(rent,
                           {QString::fromUtf8("交房租"), QDate(2026, 12, 7), QDate(2027, 1, 20), monthly});
        verifySynced(b.sync(), 0, 1, 0, 0);
        QCOMPARE(b.items()[0].finishDate, QDate(2027, 1, 20));
        QCOMPARE(b.bench.read("my.log").count('\n'), 2);
        // Only the start moved there: a change, no occurrence done.
        b.server.storeTask(rent,
                           {QString::fromUtf8("交房租"), QDate(2026, 12, 9), QDate(2027, 1, 20), monthly});
        verifySynced(b.sync(), 0, 1, 0, 0);
        QCOMPARE(b.items()[0].setDate, QDate(2026, 12, 9));
        QCOMPARE(b.bench.read("my.log").count('\n'), 2);
    }

    // The running program notes a rename while a sync clears the renames it has followed: the new
    // one must stay for the next sync, not go with the file.
    void noRenameIsClearedUnread()
    {
        TestBench bench;
        const QString path = bench.path("caldav.renames");
        const int renames = 300;
        std::atomic<int> unrecorded = 0;
        const std::unique_ptr<QThread> program(QThread::create([&] {
            DiskTextFiles files;
            for (int i = 0; i < renames; ++i)
                if (!SyncRenames::record(files, path, QStringLiteral("a%1").arg(i),
                                         QStringLiteral("b%1").arg(i)))
                    ++unrecorded;
        }));
        program->start();
        DiskTextFiles files;
        QHash<QString, QString> followed;
        for (bool running = true; running;) {
            running = !program->isFinished();
            const SyncRenames::Read read = SyncRenames::read(files, path);
            followed.insert(read.renames);
            SyncRenames::clear(files, path, read.bytes);
        }
        program->wait();
        QCOMPARE(unrecorded, 0);
        QCOMPARE(followed.size(), renames);
    }

    void serverTasksComeInThroughTheAddChecks()
    {
        SyncBench b;
        b.server.filters = false; // so that the junk is listed
        b.bench.write("agenda.txt", agendaRecord("已有", today, today));
        const auto raw = [&b](const char* uid, const char* body) {
            b.server.store(
                QStringLiteral("/u/tasks/%1.ics").arg(QString::fromLatin1(uid)),
                QByteArray("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//x//y\r\nBEGIN:VTODO\r\nUID:") + uid +
                    "\r\nDTSTAMP:20261201T000000Z\r\n" + body + "END:VTODO\r\nEND:VCALENDAR\r\n");
        };
        raw("quote", "SUMMARY:说\"你好\"\r\n");
        raw("newline", "SUMMARY:两\\n行\r\n");
        raw("empty", "SUMMARY:\r\n");
        raw("startonly", "SUMMARY:只有开始\r\nDTSTART;VALUE=DATE:20261203\r\n");
        raw("bare", "SUMMARY:什么日期都没有\r\n");
        raw("weekly", "SUMMARY:每周例会\r\nDTSTART;VALUE=DATE:20261102\r\nDUE;VALUE=DATE:20261103\r\n"
                      "RRULE:FREQ=WEEKLY\r\n");
        raw("weekly2", "SUMMARY:双周例会\r\nDTSTART;VALUE=DATE:20261102\r\nDUE;VALUE=DATE:20261103\r\n"
                       "RRULE:FREQ=WEEKLY;INTERVAL=2\r\n");
        b.server.store(QStringLiteral("/u/tasks/junk.ics"), "not a calendar");

        const AgendaSync::Report report = b.sync();
        verifySynced(report, 1, 4, 0, 0);
        QCOMPARE(report.skipped.size(), 4);
        QVERIFY(report.text().contains(QString::fromUtf8("未同步：“说\"你好\"”")));
        QVERIFY(report.text().contains(QStringLiteral("junk.ics")));
        const QList<AgendaItem> items = b.items();
        QCOMPARE(items.size(), 5);
        QCOMPARE(items[1].setDate, today);
        QCOMPARE(items[1].finishDate, today);
        QCOMPARE(items[2].text, QString::fromUtf8("只有开始"));
        QCOMPARE(items[2].finishDate, QDate(2026, 12, 3));
        // A rule the agenda holds comes in as a repeating item at the series' own dates; one it
        // cannot hold (every other week) as its next occurrence, left to the phone to move.
        QCOMPARE(items[3].setDate, QDate(2026, 11, 2));
        QCOMPARE(items[3].finishDate, QDate(2026, 11, 3));
        QCOMPARE(items[3].repeat, (RepeatRule{RepeatRule::Weekly, 0, 2}));
        QCOMPARE(items[4].setDate, QDate(2026, 12, 14));
        QCOMPARE(items[4].finishDate, QDate(2026, 12, 15));
        QCOMPARE(items[4].repeat, RepeatRule{});
        // The refused ones are left alone on the server too: the one write is the agenda's item.
        QCOMPARE(b.server.methods.count("PUT"), 1);
    }

    void failuresLeaveTheFilesAsTheyWere_data()
    {
        QTest::addColumn<QByteArray>("method");
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QString>("message");
        QTest::newRow("401") << QByteArray("REPORT") << 401 << QByteArray()
                             << QString::fromUtf8("用户名或密码不对");
        QTest::newRow("403") << QByteArray("REPORT") << 403 << QByteArray() << QStringLiteral("403");
        QTest::newRow("404") << QByteArray("REPORT") << 404 << QByteArray()
                             << QString::fromUtf8("任务列表不存在了");
        QTest::newRow("500") << QByteArray("REPORT") << 500 << QByteArray() << QStringLiteral("500");
        QTest::newRow("timeout") << QByteArray("REPORT") << 0 << QByteArray()
                                 << QString::fromUtf8("服务器没有应答");
        QTest::newRow("not XML") << QByteArray("REPORT") << 207 << QByteArray("Service Unavailable")
                                 << QStringLiteral("XML");
        QTest::newRow("cut short") << QByteArray("REPORT") << 207
                                   << QByteArray("<d:multistatus xmlns:d=\"DAV:\"><d:response><d:href>/u/")
                                   << QString::fromUtf8("不是完整的 XML");
        QTest::newRow("not multistatus")
            << QByteArray("REPORT") << 207 << QByteArray("<html></html>") << QStringLiteral("multistatus");
        QTest::newRow("PUT 500") << QByteArray("PUT") << 500 << QByteArray() << QStringLiteral("500");
        QTest::newRow("PUT timeout") << QByteArray("PUT") << 0 << QByteArray()
                                     << QString::fromUtf8("服务器没有应答");
    }
    void failuresLeaveTheFilesAsTheyWere()
    {
        QFETCH(QByteArray, method);
        QFETCH(int, status);
        QFETCH(QByteArray, body);
        QFETCH(QString, message);
        SyncBench b;
        b.bench.write("agenda.txt", agendaRecord("买牛奶", QDate(2026, 12, 1), QDate(2026, 12, 10)));
        b.bench.write("my.log", {});
        verifySynced(b.sync(), 1, 0, 0, 0);
        // A change on each side, so that a sync would write both.
        QCOMPARE(b.store().add({QString::fromUtf8("新的"), today, today, 0}).status, StoreChange::Done);
        b.server.storeTask(QStringLiteral("phone"), values("手机上的", today, today));
        const QByteArray agenda = b.bench.read("agenda.txt"), log = b.bench.read("my.log"),
                         state = b.bench.read("caldav.json");

        b.server.fault = [&](const DavRequest& request) -> std::optional<ResultOf<DavReply>> {
            if (request.method != method)
                return std::nullopt;
            if (!status)
                return ResultOf<DavReply>::failed(QString::fromUtf8("服务器没有应答"));
            return DavReply{status, body, {}};
        };
        const AgendaSync::Report failed = b.sync();
        QVERIFY2(failed.result.error().contains(message), qPrintable(failed.result.error()));
        QVERIFY(failed.text().startsWith(QString::fromUtf8("同步失败：")));
        QCOMPARE(b.bench.read("agenda.txt"), agenda);
        QCOMPARE(b.bench.read("my.log"), log);
        QCOMPARE(b.bench.read("caldav.json"), state);

        b.server.fault = nullptr;
        const AgendaSync::Report next = b.sync();
        QVERIFY2(next.result, qPrintable(next.result.error()));
        QCOMPARE(next.downloaded, 1);
        QCOMPARE(b.texts().size(), 3);
        QCOMPARE(b.server.tasks().size(), 3);
    }

    // A task the server will not take is named and tried again; the others go ahead.
    void oneRefusedTaskHoldsBackNoOther()
    {
        SyncBench b;
        b.bench.write("agenda.txt", agendaRecord("甲", today, today) + agendaRecord("乙", today, today));
        QByteArray refused = "SUMMARY:甲";
        b.server.fault = [&refused](const DavRequest& request) -> std::optional<DavReply> {
            if (request.method == "PUT" && request.body.contains(refused))
                return DavReply{403, {}, {}, {}};
            return std::nullopt;
        };
        AgendaSync::Report report = b.sync();
        verifySynced(report, 1, 0, 0, 0);
        QCOMPARE(report.skipped, QStringList{QString::fromUtf8("“甲”：服务器拒绝了它（HTTP 403）")});
        QCOMPARE(b.server.tasks().keys(), QStringList{QString::fromUtf8("乙")});

        // An update refused keeps what was last agreed, so the next sync sends it again.
        QCOMPARE(b.store()
                     .modify(QString::fromUtf8("乙"), {QString::fromUtf8("乙"), today, today.addDays(3), 0})
                     .status,
                 StoreChange::Done);
        refused = "SUMMARY:乙";
        report = b.sync();
        verifySynced(report, 1, 0, 0, 0);
        QCOMPARE(report.skipped, QStringList{QString::fromUtf8("“乙”：服务器拒绝了它（HTTP 403）")});
        b.server.fault = nullptr;
        verifySynced(b.sync(), 1, 0, 0, 0);
        QCOMPARE(b.server.tasks().value(QString::fromUtf8("乙")).values.finish, today.addDays(3));
    }

    void aSyncCutShortIsCaughtUpWithoutTwins_data()
    {
        QTest::addColumn<QString>("failing");
        QTest::newRow("the state") << QStringLiteral("caldav.json");
        QTest::newRow("the agenda") << QStringLiteral("agenda.txt");
    }
    void aSyncCutShortIsCaughtUpWithoutTwins()
    {
        QFETCH(QString, failing);
        SyncBench b;
        b.bench.write("agenda.txt", agendaRecord("甲", today, today) + agendaRecord("乙", today, today) +
                                        agendaRecord("戊", today, today));
        verifySynced(b.sync(), 3, 0, 0, 0);
        QCOMPARE(b.store().remove(QString::fromUtf8("甲"), today).status, StoreChange::Done);
        QCOMPARE(b.store().add({QString::fromUtf8("丙"), today, today, 0}).status, StoreChange::Done);
        b.server.storeTask(QStringLiteral("phone"), values("丁", today, today));
        const ServerTask done = b.server.tasks().value(QString::fromUtf8("戊"));
        b.server.storeTask(done.uid, done.values, false);
        // Everything reaches the server, then a write here fails, as a killed sync would stop.
        b.bench.files.failWritesTo = {failing};
        QVERIFY(!b.sync().result);
        b.bench.files.failWritesTo.clear();

        QVERIFY2(b.sync().result, "the next sync catches up");
        QCOMPARE(b.texts(),
                 (QStringList{QString::fromUtf8("乙"), QString::fromUtf8("丙"), QString::fromUtf8("丁")}));
        const QMap<QString, ServerTask> tasks = b.server.tasks();
        QCOMPARE(tasks.keys(),
                 (QStringList{QString::fromUtf8("丁"), QString::fromUtf8("丙"), QString::fromUtf8("乙"),
                              QString::fromUtf8("戊"), QString::fromUtf8("甲")}));
        QVERIFY(!tasks.value(QString::fromUtf8("甲")).open);
        QCOMPARE(std::count_if(b.state.entries.cbegin(), b.state.entries.cend(),
                               [](const SyncEntry& e) { return e.open; }),
                 3);
        // Each item that left has its one entry, though the first sync wrote 戊's before it failed.
        QCOMPARE(b.bench.read("my.log"),
                 gbk("甲: 设置日期2026-12-07; 预定完成日期2026-12-07; 删除日期2026-12-07\r\n"
                     "戊: 设置日期2026-12-07; 预定完成日期2026-12-07; 删除日期2026-12-06\r\n"));
    }

    void listsWithoutAUsableToken()
    {
        // No sync-collection at all, and a token forgotten as RFC 6578 says it: 403 or 409 with
        // valid-sync-token. The whole list is read again, and a new token kept for next time.
        for (const auto& [syncCollection, forgotten] : {std::pair{false, 403}, {true, 403}, {true, 409}}) {
            SyncBench b;
            b.server.syncCollection = syncCollection;
            b.server.forgottenTokenStatus = forgotten;
            b.bench.write("agenda.txt", agendaRecord("甲", today, today) + agendaRecord("乙", today, today));
            verifySynced(b.sync(), 2, 0, 0, 0);
            b.server.erase(b.server.hrefOf(QString::fromUtf8("乙")));
            b.state.token = QStringLiteral("forgotten-by-the-server");
            verifySynced(b.sync(), 0, 0, 1, 0);
            QCOMPARE(b.texts(), QStringList{QString::fromUtf8("甲")});
            QCOMPARE(b.server.tasks().size(), 1);
            QCOMPARE(b.state.token.startsWith(u't'), syncCollection);
        }
    }

    // A note or an alarm edited on the phone changes the ETag and nothing the agenda holds: the
    // agenda's change goes up over it, with no conflict and nothing archived.
    void aChangeThereTheAgendaDoesNotHoldIsNoConflict()
    {
        SyncBench b;
        b.bench.write("agenda.txt", agendaRecord("买牛奶", today, today));
        verifySynced(b.sync(), 1, 0, 0, 0);
        const ServerTask milk = b.server.tasks().value(QString::fromUtf8("买牛奶"));
        QByteArray noted = milk.ics;
        noted.replace("END:VTODO", "DESCRIPTION:要脱脂的\r\nEND:VTODO");
        b.server.store(milk.href, noted);
        QCOMPARE(b.store()
                     .modify(QString::fromUtf8("买牛奶"),
                             {QString::fromUtf8("买牛奶"), today, today.addDays(2), 0})
                     .status,
                 StoreChange::Done);
        verifySynced(b.sync(), 1, 0, 0, 0);
        QVERIFY(!QFile::exists(b.bench.path("my.log")));
        const ServerTask after = b.server.tasks().value(QString::fromUtf8("买牛奶"));
        QCOMPARE(after.values.finish, today.addDays(2));
        QVERIFY(after.ics.contains("DESCRIPTION:要脱脂的"));
    }

    // The tree as phones write it comes down whole (an untyped RELATED-TO, RELTYPE=PARENT, a CHILD
    // named on the parent, an orphan, a self-link, a cycle, a DEPENDS-ON beside a parent, priority
    // and CATEGORIES); a subtask added here goes up with its link in the same sync as its parent; a
    // sync after a sync sends nothing; a priority or tags set here rewrite that property alone.
    void theTreeGoesBothWays()
    {
        SyncBench b;
        const auto phone = [&b](const char* uid, const char* summary, const QByteArray& more) {
            b.server.store(QStringLiteral("/u/tasks/%1.ics").arg(QString::fromLatin1(uid)),
                           "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//phone//x\r\nBEGIN:VTODO\r\nUID:" +
                               QByteArray(uid) + "\r\nDTSTAMP:20261201T000000Z\r\nSUMMARY:" + summary +
                               "\r\nDUE;VALUE=DATE:20261220\r\n" + more + "END:VTODO\r\nEND:VCALENDAR\r\n");
        };
        phone("p", "装修", "PRIORITY:1\r\nCATEGORIES:家庭,周末\r\nRELATED-TO;RELTYPE=CHILD:m\r\n");
        phone("c1", "买瓷砖", "RELATED-TO:p\r\nPRIORITY:7\r\n");
        phone("c2", "贴瓷砖", "RELATED-TO;RELTYPE=DEPENDS-ON:c1\r\nRELATED-TO;RELTYPE=PARENT:c1\r\n");
        phone("m", "量尺寸", "CATEGORIES:a\\,b\r\nCATEGORIES:家庭\r\n");
        phone("o", "旧卡片", "RELATED-TO;RELTYPE=PARENT:deck-board-7\r\n");
        phone("s", "自指", "RELATED-TO:s\r\n");
        phone("a", "甲", "RELATED-TO:b\r\n");
        phone("b", "乙", "RELATED-TO;RELTYPE=PARENT:a\r\n");
        b.bench.write("agenda.txt", agendaRecord("装修", today, QDate(2026, 12, 20)) +
                                        agendaRecord("量门", today, QDate(2026, 12, 20)));
        b.bench.write("structure.txt", gbk("\"量门\",\"装修\",无\r\n"));
        const QByteArray orphanBefore = b.server.tasks().value(QString::fromUtf8("旧卡片")).ics;

        verifySynced(b.sync(), 1, 7, 0, 0);
        QMap<QString, ItemStructure> here;
        for (const AgendaItem& item : b.items())
            here.insert(item.text, item.structure);
        const auto u = [](const char* text) { return QString::fromUtf8(text); };
        QCOMPARE(here[u("装修")], (ItemStructure{{}, ItemStructure::High, {u("家庭"), u("周末")}}));
        QCOMPARE(here[u("买瓷砖")], (ItemStructure{u("装修"), ItemStructure::Low, {}}));
        QCOMPARE(here[u("贴瓷砖")].parent, u("买瓷砖"));
        QCOMPARE(here[u("量尺寸")],
                 (ItemStructure{u("装修"), ItemStructure::NoPriority, {u("a,b"), u("家庭")}}));
        QCOMPARE(here[u("旧卡片")].parent, QString());
        const QByteArray added = b.server.tasks().value(u("量门")).ics;
        QVERIFY2(added.contains("RELATED-TO;RELTYPE=PARENT:p\r\n"), added.constData());
        QVERIFY(!added.contains("PRIORITY") && !added.contains("CATEGORIES"));
        const AgendaStore store = b.store();
        const AgendaTree tree(store.table());
        for (qsizetype i = 0; i < store.table().count(); ++i)
            if (QStringList{u("自指"), u("甲"), u("乙"), u("旧卡片"), u("装修")}.contains(
                    store.table().items[i].text))
                QCOMPARE(tree.parentOf(i), qsizetype(-1));

        b.server.methods.clear();
        verifySynced(b.sync(), 0, 0, 0, 0);
        QCOMPARE(b.server.methods, QList<QByteArray>{"REPORT"});
        QCOMPARE(b.server.tasks().value(u("旧卡片")).ics, orphanBefore);

        QCOMPARE(b.store().setPriority(u("贴瓷砖"), ItemStructure::Medium).status, StoreChange::Done);
        QCOMPARE(b.store().setTags(u("装修"), {u("家庭")}).status, StoreChange::Done);
        QCOMPARE(b.store().setPriority(u("旧卡片"), ItemStructure::Low).status, StoreChange::Done);
        verifySynced(b.sync(), 3, 0, 0, 0);
        // A link the agenda cannot follow (to a card) stays on a task changed here.
        QVERIFY(
            b.server.tasks().value(u("旧卡片")).ics.contains("RELATED-TO;RELTYPE=PARENT:deck-board-7\r\n"));
        const QByteArray tiles = b.server.tasks().value(u("贴瓷砖")).ics;
        QVERIFY(tiles.contains("PRIORITY:5\r\n"));
        QVERIFY(tiles.contains("RELATED-TO;RELTYPE=DEPENDS-ON:c1\r\nRELATED-TO;RELTYPE=PARENT:c1\r\n"));
        const QByteArray house = b.server.tasks().value(u("装修")).ics;
        QVERIFY(house.contains("CATEGORIES:家庭\r\n") && !house.contains("周末"));
        QVERIFY(house.contains("PRIORITY:1\r\n") && house.contains("RELATED-TO;RELTYPE=CHILD:m\r\n"));
        b.server.methods.clear();
        verifySynced(b.sync(), 0, 0, 0, 0);
        QCOMPARE(b.server.methods, QList<QByteArray>{"REPORT"});
    }

    // A link kept by a version before structures agreed none: the next sync reads every task again
    // and brings down what a phone gave them, and sends nothing.
    void aLinkFromBeforeStructuresBringsThemDown()
    {
        SyncBench b;
        b.bench.write("agenda.txt", agendaRecord("装修", today, today));
        verifySynced(b.sync(), 1, 0, 0, 0);
        QVERIFY(b.state.save(b.bench.files, b.bench.path("caldav.json")));
        const ServerTask house = b.server.tasks().value(QString::fromUtf8("装修"));
        QByteArray marked = house.ics;
        marked.replace("END:VTODO", "PRIORITY:2\r\nEND:VTODO");
        b.server.store(house.href, marked);
        // The phone's change as the older version saw it: agreed, its ETag kept.
        QJsonObject root = QJsonDocument::fromJson(b.bench.read("caldav.json")).object();
        root.remove(QStringLiteral("structure"));
        QJsonArray entries = root.value(QStringLiteral("entries")).toArray();
        QJsonObject entry = entries[0].toObject();
        entry.insert(QStringLiteral("etag"),
                     QString::fromUtf8(b.server.tasks().value(QString::fromUtf8("装修")).etag));
        entries[0] = entry;
        root.insert(QStringLiteral("entries"), entries);
        b.bench.write("caldav.json", QJsonDocument(root).toJson());
        b.state = SyncState::load(b.bench.files, b.bench.path("caldav.json")).value();
        verifySynced(b.sync(), 0, 1, 0, 0);
        QCOMPARE(b.items().first().structure.priority, ItemStructure::High);
        b.server.methods.clear();
        verifySynced(b.sync(), 0, 0, 0, 0);
    }

    // A new task never overwrites one that is there already under its name.
    void aNewTaskIsNotWrittenOverAnother()
    {
        FakeCalDavServer server;
        server.storeTask(QStringLiteral("taken"), values("手机上的", today, today));
        CalDavClient client(server, listUrl);
        const QByteArray before = server.tasks().value(QString::fromUtf8("手机上的")).ics;
        const ResultOf<DavReply> put =
            client.put(QStringLiteral("/u/tasks/taken.ics"),
                       TaskCodec::write({}, QStringLiteral("taken"), values("我的", today, today), true,
                                        QDateTime(today, QTime(9, 0), Qt::UTC)),
                       {});
        QCOMPARE(put->status, 412);
        QCOMPARE(server.tasks().value(QString::fromUtf8("手机上的")).ics, before);
    }

    // Many servers list hrefs and ETags alone: the bodies are read after, by multiget or by GET.
    void tasksListedWithoutTheirBodiesAreRead_data()
    {
        QTest::addColumn<bool>("multiget");
        QTest::newRow("multiget") << true;
        QTest::newRow("GET") << false;
    }
    void tasksListedWithoutTheirBodiesAreRead()
    {
        QFETCH(bool, multiget);
        SyncBench b;
        b.server.inlineData = false;
        b.server.multiget = multiget;
        b.bench.write("agenda.txt", agendaRecord("写报告", today, today));
        b.server.storeTask(QStringLiteral("phone"), values("取快递", today, today.addDays(2)));
        verifySynced(b.sync(), 1, 1, 0, 0);
        QCOMPARE(b.texts(), (QStringList{QString::fromUtf8("写报告"), QString::fromUtf8("取快递")}));
        QVERIFY(b.server.methods.contains(multiget ? "REPORT" : "GET"));

        b.server.methods.clear();
        verifySynced(b.sync(), 0, 0, 0, 0);
        QCOMPARE(b.server.methods, QList<QByteArray>{"REPORT"});

        b.server.storeTask(QStringLiteral("phone"), values("取快递", today, today.addDays(5)));
        verifySynced(b.sync(), 0, 1, 0, 0);
        QCOMPARE(b.items()[1].finishDate, today.addDays(5));
    }

    // Events and journals in the same calendar are not the agenda's: never named as unreadable
    // tasks, not read where the server can tell them apart, and counted once, at the first sync.
    void eventsBesideTheTasksAreLeftAlone_data()
    {
        QTest::addColumn<bool>("inlineData");
        QTest::addColumn<bool>("filters");
        QTest::newRow("bodies listed") << true << true;
        QTest::newRow("hrefs listed") << false << true;
        QTest::newRow("no filter") << false << false;
    }
    void eventsBesideTheTasksAreLeftAlone()
    {
        QFETCH(bool, inlineData);
        QFETCH(bool, filters);
        SyncBench b;
        b.server.inlineData = inlineData;
        b.server.filters = filters;
        const auto event = [](const char* uid, const char* component) {
            return QByteArray("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//t//t//EN\r\nBEGIN:") + component +
                   "\r\nUID:" + uid +
                   "\r\nDTSTAMP:20261201T080000Z\r\nDTSTART:20261210T190000Z\r\n"
                   "SUMMARY:dinner\r\nEND:" +
                   component + "\r\nEND:VCALENDAR\r\n";
        };
        b.server.store(QStringLiteral("/u/tasks/dinner.ics"), event("dinner", "VEVENT"));
        b.server.store(QStringLiteral("/u/tasks/diary.ics"), event("diary", "VJOURNAL"));
        b.server.storeTask(QStringLiteral("p1"), values("取快递", today, today));
        int eventsRead = 0;
        b.server.fault = [&eventsRead](const DavRequest& request) -> std::optional<ResultOf<DavReply>> {
            eventsRead += request.body.contains("calendar-multiget") && request.body.contains("dinner");
            return std::nullopt;
        };
        AgendaSync::Report report = b.sync();
        verifySynced(report, 0, 1, 0, 0);
        QCOMPARE(report.skipped, QStringList());
        QCOMPARE(report.text().section(u'\n', 1),
                 QString::fromUtf8("日历中另有 2 个日程事件未同步，这是正常的"));
        QCOMPARE(eventsRead, filters || inlineData ? 0 : 1);
        QCOMPARE(b.texts(), QStringList{QString::fromUtf8("取快递")});

        // An event added later is read where it must be, and left alone without a word.
        b.server.store(QStringLiteral("/u/tasks/lunch.ics"), event("lunch", "VEVENT"));
        report = b.sync();
        verifySynced(report, 0, 0, 0, 0);
        QCOMPARE(report.text(), QString::fromUtf8("同步完成：上传 0 条，下载 0 条，完成 0 条，冲突 0 条"));
        QCOMPARE(b.server.count(), 4);
    }

    // A multiget that answers 200 without the body has not read the task: it is read next time,
    // not taken as an unreadable task and then missed until it changes again.
    void aBodyLeftOutIsReadNextTime()
    {
        SyncBench b;
        b.server.inlineData = false;
        b.bench.write("agenda.txt", agendaRecord("甲", today, today));
        b.server.storeTask(QStringLiteral("p1"), values("乙", today, today));
        b.server.storeTask(QStringLiteral("p2"), values("丙", today, today));
        b.server.withoutData = {QStringLiteral("/u/tasks/p2.ics")};
        AgendaSync::Report report = b.sync();
        verifySynced(report, 1, 1, 0, 0);
        QCOMPARE(report.skipped, QStringList{QString::fromUtf8(
                                     "“p2.ics”：这次没能读到它（服务器没有给出它的内容），下次同步再试")});
        b.server.withoutData.clear();
        verifySynced(b.sync(), 0, 1, 0, 0);
        QCOMPARE(b.texts(),
                 (QStringList{QString::fromUtf8("甲"), QString::fromUtf8("乙"), QString::fromUtf8("丙")}));
    }

    // A task that cannot be read is named, and read at the next sync though the token moved on; a
    // sync that can read none of what changed fails and writes nothing.
    void aTaskThatCannotBeReadIsReadNextTime()
    {
        SyncBench b;
        b.server.inlineData = false;
        b.server.multiget = false;
        b.bench.write("agenda.txt", agendaRecord("甲", today, today));
        verifySynced(b.sync(), 1, 0, 0, 0);
        b.server.storeTask(QStringLiteral("p1"), values("乙", today, today));
        b.server.storeTask(QStringLiteral("p2"), values("丙", today, today));
        QString failing = QStringLiteral("/u/tasks/p2.ics");
        b.server.fault = [&failing](const DavRequest& request) -> std::optional<DavReply> {
            if (request.method == "GET" && request.url.path() == failing)
                return DavReply{500, {}, {}, {}};
            return std::nullopt;
        };
        AgendaSync::Report report = b.sync();
        verifySynced(report, 0, 1, 0, 0);
        QCOMPARE(report.skipped, QStringList{QString::fromUtf8(
                                     "“p2.ics”：这次没能读到它（服务器出错（HTTP 500）），下次同步再试")});
        QCOMPARE(b.texts(), (QStringList{QString::fromUtf8("甲"), QString::fromUtf8("乙")}));

        b.server.storeTask(QStringLiteral("p3"), values("丁", today, today));
        failing = QStringLiteral("/u/tasks/p3.ics");
        const QByteArray agenda = b.bench.read("agenda.txt"), state = b.bench.read("caldav.json");
        b.server.fault = [&b](const DavRequest& request) -> std::optional<DavReply> {
            if (request.method == "GET")
                return DavReply{500, {}, {}, {}};
            return std::nullopt;
        };
        report = b.sync();
        QVERIFY2(report.result.error().contains(QString::fromUtf8("无法读取")), qPrintable(report.text()));
        QCOMPARE(b.bench.read("agenda.txt"), agenda);
        QCOMPARE(b.bench.read("caldav.json"), state);

        b.server.fault = nullptr;
        verifySynced(b.sync(), 0, 2, 0, 0);
        QCOMPARE(b.texts().size(), 4);
        QVERIFY(b.state.pending.isEmpty());
    }

    void preparingTheList()
    {
        FakeCalDavServer server;
        server.exists = false;
        CalDavClient client(server, listUrl);
        QVERIFY(client.prepare());
        QCOMPARE(server.methods, (QList<QByteArray>{"PROPFIND", "MKCALENDAR"}));
        // Some servers say "missing" as a 207 holding one 404.
        server.exists = false;
        server.missingAs207 = true;
        server.methods.clear();
        QVERIFY(client.prepare());
        QCOMPARE(server.methods, (QList<QByteArray>{"PROPFIND", "MKCALENDAR"}));
        QVERIFY(server.exists);
        server.fault = [](const DavRequest&) -> std::optional<DavReply> {
            return DavReply{
                207,
                "<d:multistatus xmlns:d=\"DAV:\" xmlns:c=\"urn:ietf:params:xml:ns:caldav\"><d:response>"
                "<d:href>/u/tasks/</d:href><d:propstat><d:prop><d:resourcetype><d:collection/>"
                "</d:resourcetype><c:supported-calendar-component-set><c:comp name=\"VEVENT\"/>"
                "</c:supported-calendar-component-set></d:prop><d:status>HTTP/1.1 200 OK</d:status>"
                "</d:propstat></d:response></d:multistatus>",
                {},
                {}};
        };
        QVERIFY(client.prepare().error().contains(QStringLiteral("VTODO")));
    }

    void findingTheListFromTheServersAddress()
    {
        FakeCalDavServer server;
        TaskListFinder finder(server);
        QCOMPARE(finder.find(listUrl)->list, listUrl);
        QCOMPARE(finder.find(QUrl(QStringLiteral("https://dav.example/u/new/")))->list,
                 QUrl(QStringLiteral("https://dav.example/u/new/")));

        // From the server's address: the task lists, not the calendar of events beside them.
        server.otherCalendars = {{QStringLiteral("/u/events/"), QString::fromUtf8("日历"), "VEVENT"}};
        TaskListFinder::Found found = finder.find(QUrl(QStringLiteral("https://dav.example/"))).value();
        QCOMPARE(found.lists.size(), 1);
        QCOMPARE(found.lists[0].url, listUrl);
        QCOMPARE(found.lists[0].name, QStringLiteral("tasks"));
        // Where the root does not name the principal, /.well-known/caldav leads to it, by PROPFIND
        // all the way through its redirect.
        server.rootNamesPrincipal = false;
        server.otherCalendars.append({QStringLiteral("/u/work/"), QString::fromUtf8("工作"), "VTODO"});
        server.methods.clear();
        found = finder.find(QUrl(QStringLiteral("https://dav.example/"))).value();
        QCOMPARE(found.lists.size(), 2);
        QCOMPARE(found.lists[1].name, QString::fromUtf8("工作"));
        QVERIFY(server.methods.count("PROPFIND") == server.methods.size());
        // No list at all: the home, where one is made.
        server.exists = false;
        server.otherCalendars.removeLast();
        const ResultOf<TaskListFinder::Found> home =
            finder.find(QUrl(QStringLiteral("https://dav.example/")));
        QVERIFY(home && home->list.isEmpty() && home->lists.isEmpty());
        QCOMPARE(home->home, QUrl(QStringLiteral("https://dav.example/u/")));
    }

    void multistatusAsServersWriteIt()
    {
        const Multistatus::Answer answer =
            Multistatus::read(
                "<?xml version=\"1.0\"?><multistatus "
                "xmlns=\"DAV:\"><response><href>/u/tasks/a%20b%E4%B8%80.ics</href>"
                "<propstat><prop><getetag>\"1\"</getetag></prop><status>HTTP/1.1 200 OK</status></propstat>"
                "<propstat><prop><calendar-data xmlns=\"urn:ietf:params:xml:ns:caldav\"/></prop>"
                "<status>HTTP/1.1 404 Not Found</status></propstat></response>"
                "<sync-token>http://x/sync/7</sync-token></multistatus>")
                .value();
        QCOMPARE(answer.responses.size(), 1);
        QCOMPARE(answer.responses[0].href, QString::fromUtf8("/u/tasks/a b一.ics"));
        QCOMPARE(answer.responses[0].status, 200);
        QCOMPARE(answer.responses[0].etag, QByteArray("\"1\""));
        QCOMPARE(answer.syncToken, QStringLiteral("http://x/sync/7"));
        // A calendar that names no components takes tasks as well (RFC 4791 §5.2.3).
        const Multistatus::Answer calendar =
            Multistatus::read(
                "<multistatus xmlns=\"DAV:\"><response><href>/u/all/</href><propstat><prop><resourcetype>"
                "<collection/><calendar xmlns=\"urn:ietf:params:xml:ns:caldav\"/></resourcetype></prop>"
                "<status>HTTP/1.1 200 OK</status></propstat></response></multistatus>")
                .value();
        QCOMPARE(calendar.responses.size(), 1);
        QVERIFY(calendar.responses[0].isCalendar && calendar.responses[0].holdsTasks);
    }

    void anUpdateKeepsWhatTheAgendaDoesNotHold()
    {
        const QByteArray previous =
            "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//x//y\r\nBEGIN:VTODO\r\nUID:u1\r\n"
            "DTSTAMP:20261201T000000Z\r\nSUMMARY:旧\r\nDESCRIPTION:备注\r\nCATEGORIES:家\r\n"
            "BEGIN:VALARM\r\nACTION:DISPLAY\r\nTRIGGER:-PT15M\r\nDESCRIPTION:提醒\r\n"
            "END:VALARM\r\nEND:VTODO\r\nEND:VCALENDAR\r\n";
        TaskValues renamed = values("新", today, today);
        renamed.structure.tags = {QString::fromUtf8("家")};
        const QByteArray written = TaskCodec::write(previous, QStringLiteral("u1"), renamed, false,
                                                    QDateTime(today, QTime(10, 0), Qt::UTC));
        for (const char* kept : {"DESCRIPTION:备注", "CATEGORIES:家", "BEGIN:VALARM", "UID:u1", "SUMMARY:新",
                                 "STATUS:COMPLETED", "COMPLETED:20261207T100000Z", "DUE;VALUE=DATE:20261207"})
            QVERIFY2(written.contains(kept), kept);
        ServerTask task{{}, {}, written, {}, {}, true, false, {}, {}};
        TaskCodec::read(task, today, today);
        QVERIFY(!task.open);
        QCOMPARE(task.closedOn, today);
        // Reopened: no completion left behind for a phone to show.
        task.ics =
            TaskCodec::write(written, task.uid, task.values, true, QDateTime(today, QTime(11, 0), Qt::UTC));
        TaskCodec::read(task, today, today);
        QVERIFY(task.open);
        QVERIFY(!task.ics.contains("COMPLETED:"));
    }
};

QTEST_GUILESS_MAIN(TestSyncCore)
#include "tst_synccore.moc"
