#include "WindowBench.h"
#include "agenda/AgendaPanel.h"
#include "agenda/MonthWindow.h"
#include "agenda/core/AgendaChange.h"
#include "agenda/core/AgendaSession.h"
#include "agenda/core/DueReminder.h"
#include "agenda/core/ItemReminders.h"
#include "app/FormMain.h"
#include "cli/ScriptRequests.h"
#include "main/Program.h"
#include "sync/schedule/SyncRenames.h"
#include "sync/schedule/SyncRunner.h"
#include "sync/schedule/SyncSchedule.h"
#include "tray/TrayController.h"

#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTest>

namespace {

const QDate today(2026, 12, 7);

class CountingRunner final : public SyncRunner
{
public:
    void start() override { ++started; }
    void finish() { emit finished(Result::done()); }
    int started = 0;
};

struct Fixture
{
    WindowBench bench;
    CountingRunner runner;
    std::unique_ptr<Program> program;

    explicit Fixture(bool linked)
    {
        bench.clock.set(QDateTime(today, QTime(8, 0)));
        bench.write("agenda.txt", agendaRecord("开会", today, today.addDays(2)));
        if (linked)
            bench.write("caldav.json", "{}");
        program = std::make_unique<Program>(bench.services, bench.tray, runner, bench.files);
        program->start();
    }
    AgendaPanel* agenda() const { return program->window().agendaPanel(); }
    template <typename T = QWidget> T* get(const char* name) const
    {
        return program->window().findChild<T*>(QString::fromUtf8(name));
    }
    void click(const char* name) const { QTest::mouseClick(get(name), Qt::LeftButton); }
    void afterSeconds(int seconds) { bench.clock.advance(seconds * 1000); }
};

} // namespace

class TestProgram : public QObject
{
    Q_OBJECT
private slots:
    void theAgendaPanelsChangesReachTheSchedule()
    {
        Fixture f(true);
        QCOMPARE(f.runner.started, 1); // the first sync, at start
        f.runner.finish();

        // An entry under way holds the sync back; its change asks for one when it ends.
        f.click("Label修改日程");
        QVERIFY(f.program->syncs().entryBusy());
        f.get<QPlainTextEdit>("Text添加日程")->setPlainText(QString::fromUtf8("开会改期"));
        f.click("Label确认添加");
        QVERIFY(!f.program->syncs().entryBusy());
        f.afterSeconds(SyncSchedule::afterChangeMs / 1000 + 1);
        QCOMPARE(f.runner.started, 2);
        // The rename is noted for the sync, so that the task is renamed rather than replaced.
        QCOMPARE(SyncRenames::read(f.bench.files, f.bench.path("caldav.renames"))
                     .renames.value(QString::fromUtf8("开会")),
                 QString::fromUtf8("开会改期"));
    }

    void aScriptsAddReachesTheStoreAndTheSchedule()
    {
        Fixture f(true);
        f.runner.finish();
        const QJsonObject answer = f.program->answer(
            AgendaChange::add({QString::fromUtf8("买菜"), today, QDate(2026, 12, 9)}).fields());
        QCOMPARE(answer.value(QStringLiteral("ok")).toBool(), true);
        QVERIFY(f.bench.read("agenda.txt").contains(agendaRecord("买菜", today, today.addDays(2))));
        QCOMPARE(f.agenda()->table().items.size(), 2);
        // 重复 and 完成 from a script reach the agenda the same way.
        QVERIFY(f.program
                    ->answer(AgendaChange::setRepeat(QString::fromUtf8("买菜"),
                                                     RepeatWords{RepeatRule::Weekly, std::nullopt})
                                 .fields())
                    .value(QStringLiteral("ok"))
                    .toBool());
        QVERIFY(f.program->answer(AgendaChange::complete(QString::fromUtf8("买菜")).fields())
                    .value(QStringLiteral("ok"))
                    .toBool());
        QVERIFY(f.bench.read("agenda.txt").contains(agendaRecord("买菜", today, today.addDays(9))));
        f.afterSeconds(SyncSchedule::afterChangeMs / 1000 + 1);
        QCOMPARE(f.runner.started, 2);

        // --remind wrote kestrin.ini: the running copy reads it again when told.
        QVERIFY(DueReminder::choose(f.bench.path("kestrin.ini"), QTime(9, 30)));
        QCOMPARE(f.program->answer(ScriptRequests::settingsRequest()).value(QStringLiteral("ok")).toBool(),
                 true);
        QCOMPARE(f.program->dueReminder().time(), QTime(9, 30));

        // While the user types an entry, a sync asking to write the files is told to wait.
        f.click("Label添加日程");
        QCOMPARE(f.program->answer(ScriptRequests::syncRequest()).value(QStringLiteral("busy")).toBool(),
                 true);
    }

    // An item's time, reminded at with its buttons and one ring; 十分钟后再提醒 says it again,
    // 完成 moves a repeating item on (and its next time is reminded). A moment slept through is
    // told on waking the same day as missed, once, a restart included; a time set after its
    // moment is nothing missed, and a day gone by is not told.
    void anItemRemindsAtItsTime()
    {
        Fixture f(false);
        f.bench.write("agenda.txt", agendaRecord("开会", today, today.addDays(2)) +
                                        gbk("\"写周报\",#2026-12-01#,#2026-12-07 09:30:00#\r\n"));
        f.bench.write("repeat.txt", gbk("\"写周报\",每周,周一\r\n"));
        f.program->agenda().reload();
        QCOMPARE(f.program->itemReminders().nextReminder(), QDateTime(today, QTime(9, 30)));
        const qsizetype before = f.bench.notifications.sent.size();
        f.bench.sound.played.clear();
        f.afterSeconds(90 * 60 - 1); // 09:29:59
        QCOMPARE(f.bench.notifications.sent.size(), before);
        f.afterSeconds(1);
        QCOMPARE(f.bench.notifications.sent.last(), (QStringList{QString::fromUtf8("Kestrin日程提醒"),
                                                                 QString::fromUtf8("写周报 · 今天 09:30")}));
        QCOMPARE(f.bench.notifications.actions.last(),
                 (QStringList{QStringLiteral("complete"), QStringLiteral("remind-in-10"),
                              QStringLiteral("open-agenda")}));
        QCOMPARE(f.bench.sound.played, QStringList{QStringLiteral("clock1.wav")});
        const int told = int(f.bench.notifications.sent.size());
        f.bench.notifications.press(told, QStringLiteral("remind-in-10"));
        // A load meanwhile (a sync, a hand edit) keeps the reminder put off, its moment being told.
        f.program->agenda().reload();
        f.afterSeconds(10 * 60);
        QCOMPARE(f.bench.notifications.sent.size(), told + 1);
        QCOMPARE(f.bench.notifications.sent.last()[1], QString::fromUtf8("写周报 · 今天 09:30"));
        f.bench.notifications.press(told + 1, QStringLiteral("complete"));
        QVERIFY(f.bench.read("agenda.txt").contains(gbk("\"写周报\",#2026-12-07#,#2026-12-14 09:30:00#")));
        QCOMPARE(f.program->itemReminders().nextReminder(), QDateTime(today.addDays(7), QTime(9, 30)));

        // Off from 13:00 to 16:00: 14:00 is told as missed at the start, and not after a restart.
        f.bench.write("agenda.txt", agendaRecord("开会", today, today.addDays(2)) +
                                        gbk("\"体检\",#2026-12-01#,#2026-12-07 14:00:00#\r\n"));
        f.program->agenda().reload();
        f.bench.clock.set(QDateTime(today, QTime(13, 0)));
        const auto restartAt = [&f](QTime time) {
            f.program.reset();
            f.bench.clock.set(QDateTime(today, time));
            f.program = std::make_unique<Program>(f.bench.services, f.bench.tray, f.runner, f.bench.files);
            f.program->start();
            f.afterSeconds(1); // a deadline gone by fires at once
        };
        restartAt(QTime(16, 0));
        QCOMPARE(f.bench.notifications.sent.last()[1], QString::fromUtf8("错过了 14:00 的提醒：体检"));
        const qsizetype missed = f.bench.notifications.sent.size();
        restartAt(QTime(16, 1));
        QCOMPARE(f.bench.notifications.sent.size(), missed);

        f.afterSeconds(30 * 60);
        QVERIFY(f.program->answer(AgendaChange::setTime(QString::fromUtf8("体检"), QTime(16, 10)).fields())
                    .value(QStringLiteral("ok"))
                    .toBool());
        f.afterSeconds(1);
        QCOMPARE(f.bench.notifications.sent.size(), missed);
        QVERIFY(f.program->agenda().apply(AgendaChange::setTime(QString::fromUtf8("体检"), QTime(17, 0))));
        f.bench.clock.set(QDateTime(today.addDays(1), QTime(8, 0)));
        QCOMPARE(f.bench.notifications.sent.size(), missed);
    }

    // 月历 from the tray menu, from a script (kestrin --calendar), with Ctrl+M: one window, made at
    // the first; a day's Enter opens the quick-add window on that day, once more after an add.
    void theMonthWindowAndItsAdds()
    {
        Fixture f(false);
        QVERIFY(!f.program->monthWindow());
        f.program->window().tray()->menu()->findChild<QAction*>(QStringLiteral("menuMonth"))->trigger();
        MonthWindow* month = f.program->monthWindow();
        QVERIFY(month && month->isVisible());
        month->close();
        QVERIFY(f.program->answer(ScriptRequests::calendarRequest()).value(QStringLiteral("ok")).toBool());
        QCOMPARE(f.program->monthWindow(), month);
        QVERIFY(month->isVisible());
        for (const char* text : {"买票", "订酒店"}) {
            emit month->addWanted(QDate(2026, 12, 20));
            QList<QWidget*> quickAdd;
            for (QWidget* w : QApplication::topLevelWidgets())
                if (w->objectName() == QStringLiteral("FormQuickAdd") && w->isVisible())
                    quickAdd.append(w);
            QCOMPARE(quickAdd.size(), 1);
            auto* box = quickAdd.first()->findChild<QLineEdit*>(QStringLiteral("TextQuickAdd"));
            QVERIFY(box->isEnabled());
            QCOMPARE(quickAdd.first()->findChild<QLineEdit*>(QStringLiteral("TextQuickFinish"))->text(),
                     QStringLiteral("2026-12-20"));
            box->setText(QString::fromUtf8(text));
            QTest::keyClick(box, Qt::Key_Return);
            QVERIFY(f.bench.read("agenda.txt").contains(agendaRecord(text, today, QDate(2026, 12, 20))));
        }
        QCOMPARE(month->sheet().day(QDate(2026, 12, 20))->items.size(), 2);
    }

    void anUnlinkedFolderNeitherSyncsNorNotesRenames()
    {
        Fixture f(false);
        f.click("Label修改日程");
        f.get<QPlainTextEdit>("Text添加日程")->setPlainText(QString::fromUtf8("开会改期"));
        f.click("Label确认添加");
        f.afterSeconds(SyncSchedule::afterChangeMs / 1000 + 1);
        QCOMPARE(f.runner.started, 0);
        QVERIFY(!QFile::exists(f.bench.path("caldav.renames")));
    }
};

QTEST_MAIN(TestProgram)
#include "tst_program.moc"
