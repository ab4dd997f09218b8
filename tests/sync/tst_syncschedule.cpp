#include "Doubles.h"
#include "FakeClock.h"
#include "sync/schedule/ProcessSyncRunner.h"
#include "sync/schedule/SyncRunner.h"
#include "sync/schedule/SyncSchedule.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

class CountingRunner final : public SyncRunner
{
public:
    void start() override { ++started; }
    void finish(bool ok, const QString& report = QString::fromUtf8("同步失败：服务器没有应答"))
    {
        emit finished(ok ? Result::done() : Result::failed(report));
    }
    int started = 0;
};

struct Bench
{
    FakeClock clock;
    CountingRunner runner;
    RecordingNotifications notifications;
    bool linked = true;
    SyncSchedule schedule{clock, runner, notifications, [this] { return linked; }};

    void advanceSeconds(double seconds) { clock.advance(qint64(seconds * 1000)); }
};

} // namespace

class TestSyncSchedule : public QObject
{
    Q_OBJECT
private slots:
    void atStartAfterAChangeAndEachQuarterHour()
    {
        Bench b;
        b.schedule.start();
        QCOMPARE(b.runner.started, 1);
        b.runner.finish(true);

        // A burst of changes makes one sync, five seconds after the first.
        b.schedule.changed();
        b.advanceSeconds(2);
        b.schedule.changed();
        b.advanceSeconds(2.9);
        QCOMPARE(b.runner.started, 1);
        b.advanceSeconds(0.2);
        QCOMPARE(b.runner.started, 2);
        // A change while it runs gets a sync of its own, once this one is done.
        b.schedule.changed();
        b.runner.finish(true);
        b.advanceSeconds(5);
        QCOMPARE(b.runner.started, 3);
        b.runner.finish(true);

        b.advanceSeconds(15 * 60 - 1);
        QCOMPARE(b.runner.started, 3);
        b.advanceSeconds(1);
        QCOMPARE(b.runner.started, 4);
        b.runner.finish(true);
        b.schedule.networkBack();
        QCOMPARE(b.runner.started, 5);
        QVERIFY(b.notifications.sent.isEmpty());
    }

    void neverWhileAnEntryIsBeingMade()
    {
        Bench b;
        b.schedule.setEntryBusy(true);
        b.schedule.start();
        b.schedule.changed();
        b.advanceSeconds(60);
        QCOMPARE(b.runner.started, 0);
        b.schedule.setEntryBusy(false);
        QCOMPARE(b.runner.started, 1);
        // An entry ended with nothing due starts nothing.
        b.runner.finish(true);
        b.schedule.setEntryBusy(true);
        b.schedule.setEntryBusy(false);
        QCOMPARE(b.runner.started, 1);
    }

    void aRunOfFailuresIsToldOnce()
    {
        Bench b;
        const QString why = QString::fromUtf8("同步失败：用户名或密码不对");
        b.schedule.start();
        b.runner.finish(false, why);
        // Tried again after a minute, then two, then four.
        for (int minutes : {1, 2, 4}) {
            b.advanceSeconds(minutes * 60 - 1);
            const int before = b.runner.started;
            b.advanceSeconds(1);
            QCOMPARE(b.runner.started, before + 1);
            b.runner.finish(false, why);
        }
        QCOMPARE(b.notifications.sent, (QList<QStringList>{{QString::fromUtf8("Kestrin 同步失败"), why}}));
        b.schedule.networkBack();
        b.runner.finish(true);
        QCOMPARE(b.notifications.withdrawn, QList<int>{1});
        b.schedule.networkBack();
        b.runner.finish(false, why);
        QCOMPARE(b.notifications.sent.size(), 2);
    }

    void aFolderWithoutATaskListIsNeverSynced()
    {
        Bench b;
        b.linked = false;
        b.schedule.start();
        b.schedule.changed();
        b.advanceSeconds(60 * 60);
        QCOMPARE(b.runner.started, 0);
        // Linked meanwhile: the next period finds it.
        b.linked = true;
        b.advanceSeconds(15 * 60);
        QCOMPARE(b.runner.started, 1);
    }
    // The helper's last line is the report. A helper that cannot start, or that dies, still ends
    // the run: a run that never ended would hold back every sync after it.
    void theHelpersLastLineIsItsReport()
    {
        QTemporaryDir dir;
        const auto helper = [&dir](const char* name, const QByteArray& body) {
            const QString path = dir.filePath(QString::fromUtf8(name));
            QFile file(path);
            file.open(QIODevice::WriteOnly);
            file.write("#!/bin/sh\n" + body);
            file.setPermissions(QFile::ReadOwner | QFile::ExeOwner);
            return path;
        };
        const auto run = [&dir](const QString& path) {
            ProcessSyncRunner runner(path, dir.path(), dir.path());
            QSignalSpy finished(&runner, &SyncRunner::finished);
            runner.start();
            if (!finished.wait(10000))
                return QString::fromUtf8("（没有结束）");
            const Result result = finished.first().first().value<Result>();
            return result ? QStringLiteral("ok") : result.error();
        };
        QCOMPARE(run(helper("ok", "echo 等待正在填写的日程完成……\necho 同步完成：上传 1 条\n")),
                 QStringLiteral("ok"));
        QCOMPARE(
            run(helper("failed", "echo 等待正在填写的日程完成……\necho 同步失败：服务器没有应答\nexit 1\n")),
            QString::fromUtf8("同步失败：服务器没有应答"));
        QCOMPARE(run(helper("killed", "kill -9 $$\n")), QString::fromUtf8("同步失败：同步程序意外退出"));
        QCOMPARE(run(dir.filePath(QStringLiteral("missing"))),
                 QString::fromUtf8("同步失败：无法启动 ") + dir.filePath(QStringLiteral("missing")));
    }
};

QTEST_GUILESS_MAIN(TestSyncSchedule)
#include "tst_syncschedule.moc"
