#include "TestBench.h"
#include "agenda/core/AgendaChange.h"
#include "agenda/core/AgendaSession.h"
#include "log/core/LogStore.h"

#include <QSignalSpy>
#include <QTest>

namespace {

const QDate today(2026, 12, 7);

QByteArray twoItems()
{
    return agendaRecord("交房租", today, today) + agendaRecord("写周报", today, today.addDays(1));
}

} // namespace

// The agenda at work with no window at all: what a reminder, a script and the midnight timer ask.
class TestAgendaSession : public QObject
{
    Q_OBJECT
private slots:
    // An entry being made holds the file: nothing reloads, completes, restores or recounts under
    // it, and a script's add is written without showing; once free, a completion goes to the log
    // first and is told.
    void anEntryHoldsTheFile()
    {
        TestBench bench;
        bench.clock.set(QDateTime(today, QTime(23, 0)));
        bench.write("agenda.txt", twoItems());
        bench.write("my.log", gbk("还书: 2026-11-01; 2026-11-02; 2026-11-03") + "\r\n");
        AgendaSession session(bench.services);
        QVERIFY(session.load());
        QSignalSpy loaded(&session, &AgendaSession::loaded);
        QSignalSpy changed(&session, &AgendaSession::changed);
        QSignalSpy logChanged(&session, &AgendaSession::logChanged);
        QSignalSpy busy(&session, &AgendaSession::entryBusyChanged);
        QSignalSpy failed(&session, &AgendaSession::failed);
        session.setEntryBusy(true);
        session.setEntryBusy(true);
        QCOMPARE(busy.count(), 1);

        bench.write("agenda.txt", twoItems() + agendaRecord("别处加的", today, today));
        session.reloadIfChanged();
        session.complete(QString::fromUtf8("交房租"));
        QCOMPARE(failed.count(), 1);
        QCOMPARE(failed.last().first().toString(),
                 QString::fromUtf8("请先确认或取消正在填写的日程，再完成“交房租”。"));
        LogStore log(bench.files, bench.path("my.log"));
        QVERIFY(log.load().result);
        QCOMPARE(session.restore(log, 0).error(),
                 QString::fromUtf8("请先确认或取消正在填写的日程，再从日志恢复。"));
        session.setEntryBusy(false);
        // A line that is not there is nothing to do, and nothing said.
        QVERIFY(session.restore(log, 99));
        session.setEntryBusy(true);
        QVERIFY(bench.messages.shown.isEmpty()); // a session opens no box
        QCOMPARE(session
                     .apply(AgendaChange::setRepeat(QString::fromUtf8("交房租"),
                                                    RepeatWords{RepeatRule::Monthly, std::nullopt}))
                     .error(),
                 QString::fromUtf8("请先确认或取消正在填写的日程，再设置重复。"));
        bench.clock.advance(2 * 3600 * 1000); // past midnight
        QCOMPARE(loaded.count(), 0);
        QCOMPARE(session.table().today, today);

        QVERIFY(session.apply(AgendaChange::add({QStringLiteral("script"), today, QDate(2026, 12, 31)})));
        QCOMPARE(loaded.count(), 0); // the entry's list stays as it was
        QCOMPARE(changed.count(), 1);
        QVERIFY(session.contains(QStringLiteral("script")));
        QCOMPARE(logChanged.count(), 0);

        session.setEntryBusy(false);
        // A reminder's 完成 for an item deleted by hand meanwhile has nothing to say.
        session.complete(QString::fromUtf8("早已删除"));
        QCOMPARE(failed.count(), 1);
        session.complete(QString::fromUtf8("交房租"));
        QVERIFY(!bench.read("agenda.txt").contains(gbk("交房租")));
        QVERIFY(bench.read("my.log").contains(gbk("交房租")));
        QCOMPARE(logChanged.count(), 1);
        QCOMPARE(changed.count(), 2);
        QCOMPARE(session.table().today, today.addDays(1));
    }

    // Midnight counts the days left again from the table, without reading the file.
    void midnightRecountsWhatIsLoaded()
    {
        TestBench bench;
        bench.clock.set(QDateTime(today, QTime(23, 59)));
        bench.write("agenda.txt", twoItems());
        AgendaSession session(bench.services);
        QVERIFY(session.load());
        QCOMPARE(session.table().overdueCount, 0);
        bench.write("agenda.txt", QByteArray());
        QSignalSpy loaded(&session, &AgendaSession::loaded);
        bench.clock.advance(2 * 60 * 1000);
        QCOMPARE(loaded.count(), 1);
        QCOMPARE(session.table().count(), 2);
        QCOMPARE(session.table().overdueCount, 1);
    }
};

QTEST_GUILESS_MAIN(TestAgendaSession)
#include "tst_agendasession.moc"
