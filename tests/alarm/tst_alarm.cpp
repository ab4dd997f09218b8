#include "TestBench.h"
#include "alarm/AlarmPanel.h"
#include "alarm/FormAware.h"
#include "alarm/core/AlarmRuntime.h"
#include "platform/WallTimer.h"
#include "platform/files/Settings.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

const QDate today(2026, 12, 7);

struct Fixture
{
    TestBench bench;
    AlarmTable table;
    std::unique_ptr<AlarmRuntime> runtime;
    QWidget window;
    AlarmPanel* panel;

    Fixture()
    {
        bench.clock.set(QDateTime(today, QTime(11, 59, 50)));
        runtime = std::make_unique<AlarmRuntime>(bench.services, table);
        panel = new AlarmPanel(bench.services, *runtime, &window);
        window.show();
    }
    ~Fixture()
    {
        if (panel->notice())
            delete panel->notice();
    }
    // A new run of the program over the same folder: a fresh table and panel.
    void restart()
    {
        if (panel->notice())
            delete panel->notice();
        delete panel;
        runtime.reset();
        table = AlarmTable();
        runtime = std::make_unique<AlarmRuntime>(bench.services, table);
        panel = new AlarmPanel(bench.services, *runtime, &window);
        panel->show();
    }
    // What the program does at start: the alarms kept from the last run armed again.
    bool restoreSaved() const { return runtime->restore().problems.isEmpty(); }
    QCheckBox* tick(int i) const
    {
        return control<QCheckBox>(panel, QString::fromUtf8("Check是否打开闹钟"), i);
    }
    QLineEdit* time(int i) const
    {
        return control<QLineEdit>(panel, QString::fromUtf8("Text设置闹钟时间"), i);
    }
    QLineEdit* prompt(int i) const
    {
        return control<QLineEdit>(panel, QString::fromUtf8("Text设置闹钟提示"), i);
    }
    QComboBox* rings(int i) const { return control<QComboBox>(panel, QString::fromUtf8("Combo响铃次数"), i); }
    WallTimer* alarmTimer() const
    {
        return runtime->findChild<WallTimer*>(QString::fromUtf8("Timer运行闹钟"));
    }
    void arm(int i, const char* at, int ringCount, const char* text = "")
    {
        tick(i)->setChecked(true);
        time(i)->setText(QString::fromUtf8(at));
        rings(i)->setCurrentIndex(ringCount - 1);
        prompt(i)->setText(QString::fromUtf8(text));
    }
    void confirm() const
    {
        QTest::mouseClick(panel->findChild<QWidget*>(QString::fromUtf8("Label确认闹钟")), Qt::LeftButton);
    }
    // Moves the clock on in steps of 500 ms; Timer运行闹钟 fires as its moments come. Returns the rings.
    int runChecks(int ms)
    {
        const qsizetype before = bench.sound.played.size();
        for (int t = 0; t < ms; t += 500)
            bench.clock.advance(500);
        return int(bench.sound.played.size() - before);
    }
    QWidget* heading(int i) const { return control<QWidget>(panel, QString::fromUtf8("Label7"), i); }
    // Right-clicks row i's heading and takes the action of that name from its menu.
    QAction* rowAction(int i, const char* name) const
    {
        QContextMenuEvent right(QContextMenuEvent::Mouse, QPoint(2, 2),
                                heading(i)->mapToGlobal(QPoint(2, 2)));
        QCoreApplication::sendEvent(heading(i), &right);
        QMenu* menu = panel->rowMenu();
        menu->hide();
        return control<QAction>(menu, QString::fromUtf8(name));
    }
    QString noticeText(const char* label) const
    {
        // No notice means no ring: the comparison fails and says so, rather than crashing the run.
        if (!panel->notice())
            return QStringLiteral("(no notice: nothing rang)");
        return panel->notice()->findChild<QLabel*>(QString::fromUtf8(label))->text();
    }
};

// The first line of a heading's tool tip: its ringtone.
QString ringtoneTip(const QWidget* heading)
{
    return heading->toolTip().section(u'\n', 0, 0);
}

} // namespace

class TestAlarm : public QObject
{
    Q_OBJECT
private slots:
    void threeRingsHalfASecondApartThenDisarmed()
    {
        Fixture f;
        f.arm(0, "12:00:00", 3);
        f.confirm();
        QVERIFY(f.alarmTimer()->isActive());
        QCOMPARE(f.runChecks(9500), 0); // up to 11:59:59.5
        QCOMPARE(f.runChecks(500), 1);  // 12:00:00: the first ring
        QCOMPARE(f.runChecks(1000), 2);
        QVERIFY(!f.table.alarms[0].enabled);
        QCOMPARE(f.runChecks(5000), 0);
        QCOMPARE(f.bench.sound.played, QStringList(3, QStringLiteral("clock1.wav")));
        QVERIFY(f.panel->notice());
        QVERIFY(f.panel->notice()->isVisible());
        QCOMPARE(f.noticeText("Label闹钟提醒"), QString::fromUtf8("您设置的闹钟时间已到!"));
        QVERIFY(!f.alarmTimer()->isActive()); // nothing armed: the check sleeps
    }

    void twoDueTogetherRingInOneCheckAndTheHigherPromptShows()
    {
        Fixture f;
        f.arm(0, "12:00", 1, "第一");
        f.arm(2, "12:00", 1, "第三");
        f.confirm();
        f.runChecks(10000);
        QCOMPARE(f.bench.sound.played.size(), 2);
        QCOMPARE(f.noticeText("Label闹钟提醒"), QString::fromUtf8("第三"));
    }

    void aTimeAlreadyPastTodayRingsTomorrow()
    {
        Fixture f;
        f.bench.clock.set(QDateTime(today, QTime(23, 0)));
        f.arm(0, "07:30", 1);
        f.confirm();
        QCOMPARE(f.runChecks(5000), 0);
        f.bench.clock.set(QDateTime(today.addDays(1), QTime(7, 29, 59)));
        QCOMPARE(f.runChecks(500), 0);
        QCOMPARE(f.runChecks(1000), 1); // 07:30 the next morning
        // Confirming again arms the next occurrence, not an immediate ring.
        f.confirm();
        QCOMPARE(f.runChecks(2000), 0);
        QVERIFY(f.table.alarms[0].enabled);
    }

    // Found late after a sleep: up to half an hour it rings, later the desktop tells of it instead.
    void anAlarmFoundLateAfterASleep()
    {
        Fixture f;
        f.arm(1, "12:00", 2);
        f.arm(2, "12:00", 1, "开会");
        f.confirm();
        f.bench.clock.set(QDateTime(today, QTime(12, 30)));
        QCOMPARE(f.bench.sound.played.size(), 2);
        f.arm(1, "13:00", 1);
        f.tick(2)->setChecked(false);
        f.confirm();
        f.bench.clock.set(QDateTime(today, QTime(15, 0)));
        QCOMPARE(f.runChecks(5000), 0);
        QCOMPARE(f.bench.notifications.sent,
                 (QList<QStringList>{{QString::fromUtf8("Kestrin闹钟"),
                                      QString::fromUtf8("错过了 13:00 的闹钟：您设置的闹钟时间已到!")}}));
        QVERIFY(!f.alarmTimer()->isActive());
    }

    void anUnreadableTimeIsNotArmed()
    {
        Fixture f;
        f.arm(0, "12:00", 3);
        f.confirm();
        f.time(0)->setText(QStringLiteral("noon"));
        f.confirm();
        QVERIFY(!f.table.alarms[0].enabled); // neither at once nor at the older time
        QCOMPARE(f.time(0)->toolTip(), QString::fromUtf8("时间格式：12:59:01 或 12:59"));
        QCOMPARE(f.time(0)->palette().color(QPalette::Text), QColor(Qt::red));
        QCOMPARE(f.runChecks(20000), 0);
        f.time(0)->setText(QStringLiteral("12:01"));
        QCOMPARE(f.time(0)->toolTip(), QString()); // the refusal goes once the text reads as a time
    }

    void tickRuleWorksOverAllRows()
    {
        Fixture f;
        f.tick(1)->setChecked(true);
        QCOMPARE(f.time(1)->text(), QStringLiteral("11:59:50"));
        f.tick(1)->setChecked(false);
        QCOMPARE(f.time(1)->text(), QString());
        f.time(2)->setText(QStringLiteral("07:30"));
        f.tick(2)->setChecked(true);
        QCOMPARE(f.time(2)->text(), QStringLiteral("07:30"));
    }

    void openingBeforeAnyConfirmationClearsTheTicks()
    {
        Fixture f;
        f.arm(0, "12:00", 3);
        f.panel->cancelAlarms();
        f.panel->onOpened();
        QVERIFY(!f.tick(0)->isChecked());
        QCOMPARE(f.time(0)->text(), QString());
        f.arm(0, "12:00", 3);
        f.confirm();
        f.panel->onOpened();
        QVERIFY(f.tick(0)->isChecked()); // kept once an alarm was confirmed
    }

    void confirmingWithNoTickStoresNothing()
    {
        Fixture f;
        QSignalSpy back(f.panel, &AlarmPanel::backToAgenda);
        f.confirm();
        QCOMPARE(back.size(), 1);
        QVERIFY(!f.table.confirmed);
        QVERIFY(!f.alarmTimer()->isActive());
    }

    void laterAllClearConfirmationDisarmsAll()
    {
        Fixture f;
        f.arm(0, "12:59", 4);
        f.confirm();
        QCOMPARE(f.table.alarms[0].time, QTime(12, 59));
        QCOMPARE(f.table.alarms[0].ringCount, 4);
        QVERIFY(!f.table.alarms[2].enabled);
        f.tick(0)->setChecked(false);
        f.confirm();
        QVERIFY(f.table.confirmed);
        QVERIFY(!f.table.anyArmed());
    }

    void missingSoundStillShowsTheNoticeAndCountsDown()
    {
        Fixture f; // the bench's directory holds no clock1.wav; the sound double only records
        f.arm(0, "12:00", 2, "吃药");
        f.confirm();
        f.runChecks(11000);
        QVERIFY(f.panel->notice());
        QCOMPARE(f.noticeText("Label闹钟提醒"), QString::fromUtf8("吃药"));
        QVERIFY(!f.table.alarms[0].enabled);
    }

    // A chosen ringtone rings and outlives a restart; a file gone by ring time rings clock1.wav.
    void eachAlarmRingsItsRingtoneAndNeverSilence()
    {
        Fixture f;
        QTemporaryDir elsewhere;
        const QString ring = elsewhere.filePath(QString::fromUtf8("铃声.wav"));
        QVERIFY(QFile::copy(QStringLiteral(KESTRIN_TEST_DATA "/../../assets/sounds/clock1.wav"), ring));
        const QString text = elsewhere.filePath(QStringLiteral("note.wav"));
        QFile note(text);
        QVERIFY(note.open(QIODevice::WriteOnly) && note.write("not a sound") > 0);
        note.close();

        QWidget* caption = control<QWidget>(f.panel, QString::fromUtf8("Label7"), 1);
        QCOMPARE(ringtoneTip(caption), QString::fromUtf8("铃声：clock1.wav（默认）"));
        QMenu* menu = f.panel->rowMenu();
        QContextMenuEvent right(QContextMenuEvent::Mouse, QPoint(2, 2), caption->mapToGlobal(QPoint(2, 2)));
        QCoreApplication::sendEvent(caption, &right);
        QTRY_VERIFY(menu->isVisible());
        const QList<QAction*> actions = menu->actions();
        QVERIFY(!actions[2]->isEnabled()); // nothing chosen yet
        f.bench.messages.files = {text, ring};
        actions[0]->trigger();
        QCOMPARE(f.bench.messages.shown.size(), 2);
        QVERIFY(f.bench.messages.shown[1].contains(QString::fromUtf8("不是可以播放的 WAV 声音文件")));
        actions[0]->trigger();
        menu->hide();
        QCOMPARE(ringtoneTip(caption), QString::fromUtf8("铃声：") + ring);
        actions[1]->trigger();
        QCOMPARE(f.bench.sound.played, QStringList{QString::fromUtf8("铃声.wav")});

        // A new run reads the choice back; only row 1 has one.
        AlarmTable table;
        AlarmRuntime runtime(f.bench.services, table);
        QWidget window;
        auto* again = new AlarmPanel(f.bench.services, runtime, &window);
        window.show();
        QCOMPARE(ringtoneTip(control<QWidget>(again, QString::fromUtf8("Label7"), 1)),
                 QString::fromUtf8("铃声：") + ring);
        delete again;
        f.arm(0, "12:00", 1);
        f.arm(1, "12:00", 1);
        f.confirm();
        f.bench.sound.played.clear();
        f.runChecks(10500);
        QCOMPARE(f.bench.sound.played,
                 (QStringList{QStringLiteral("clock1.wav"), QString::fromUtf8("铃声.wav")}));

        QVERIFY(QFile::remove(ring));
        f.confirm();
        f.bench.clock.set(QDateTime(today.addDays(1), QTime(11, 59, 50)));
        f.bench.sound.played.clear();
        f.runChecks(10500);
        QCOMPARE(f.bench.sound.played,
                 (QStringList{QStringLiteral("clock1.wav"), QStringLiteral("clock1.wav")}));
        f.panel->hide();
        f.panel->show();
        QVERIFY(caption->toolTip().contains(QString::fromUtf8("文件已不在")));

        // The time box keeps its editing commands, with the ringtone's below them.
        QContextMenuEvent box(QContextMenuEvent::Mouse, QPoint(2, 2), f.time(1)->mapToGlobal(QPoint(2, 2)));
        QCoreApplication::sendEvent(f.time(1), &box);
        QMenu* standard = nullptr;
        QTRY_VERIFY((standard = qobject_cast<QMenu*>(QApplication::activePopupWidget())));
        QCOMPARE(standard->actions().mid(standard->actions().size() - actions.size()), actions);
        QVERIFY(standard->actions().size() > 5);
        actions[2]->trigger();
        standard->close();
        QCOMPARE(ringtoneTip(caption), QString::fromUtf8("铃声：clock1.wav（默认）"));
    }

    // A chosen file that the player cannot play, or has not readied by ring time, would ring in
    // silence: clock1.wav rings instead, and the caption's tool tip tells of a file that cannot play.
    void aRingtoneThatCannotPlayRingsClock1()
    {
        Fixture f;
        QTemporaryDir elsewhere;
        QSettings settings(f.bench.path("kestrin.ini"), QSettings::IniFormat);
        for (const char* name : {"adpcm.wav", "late.wav"}) {
            QFile file(elsewhere.filePath(QString::fromUtf8(name)));
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write("RIFF") == 4);
        }
        settings.setValue(Settings::name(Settings::Key::Ringtone, 0),
                          elsewhere.filePath(QStringLiteral("adpcm.wav")));
        settings.setValue(Settings::name(Settings::Key::Ringtone, 1),
                          elsewhere.filePath(QStringLiteral("late.wav")));
        settings.sync();
        f.bench.sound.unplayable = {QStringLiteral("adpcm.wav")};
        f.bench.sound.loading = {QStringLiteral("late.wav")};
        f.arm(0, "12:00", 1);
        f.arm(1, "12:00:01", 1);
        f.confirm();
        f.runChecks(11500);
        QCOMPARE(f.bench.sound.played, QStringList(2, QStringLiteral("clock1.wav")));
        f.panel->hide();
        f.panel->show();
        QCOMPARE(ringtoneTip(control<QWidget>(f.panel, QString::fromUtf8("Label7"), 0)),
                 QString::fromUtf8("铃声：%1（无法播放，响铃时用 clock1.wav）")
                     .arg(elsewhere.filePath(QStringLiteral("adpcm.wav"))));
        QCOMPARE(ringtoneTip(control<QWidget>(f.panel, QString::fromUtf8("Label7"), 1)),
                 QString::fromUtf8("铃声：") + elsewhere.filePath(QStringLiteral("late.wav")));

        // Readied since, it rings.
        f.bench.sound.loading.clear();
        f.bench.sound.played.clear();
        f.confirm();
        f.bench.clock.set(QDateTime(today.addDays(1), QTime(11, 59, 50)));
        f.runChecks(11500);
        QCOMPARE(f.bench.sound.played,
                 (QStringList{QStringLiteral("clock1.wav"), QStringLiteral("late.wav")}));
    }

    // Out of sight, the desktop is told as well: once per alarm, with what the notice says.
    void ringingLeavesAHiddenMainWindowHiddenAndTellsTheDesktop()
    {
        Fixture f;
        f.arm(0, "12:00", 3, "吃药");
        f.arm(1, "12:00", 2);
        f.confirm();
        f.runChecks(10000);
        QVERIFY(f.bench.notifications.sent.isEmpty()); // the window is on view
        f.bench.clock.set(QDateTime(today.addDays(1), QTime(11, 59, 50)));
        f.confirm();
        f.window.hide();
        f.panel->closeNotice();
        f.runChecks(12000);
        QVERIFY(f.panel->notice());
        QVERIFY(f.panel->notice()->isVisible());
        QVERIFY(!f.window.isVisible());
        QCOMPARE(f.bench.notifications.sent,
                 (QList<QStringList>{{QString::fromUtf8("Kestrin闹钟"), QString::fromUtf8("吃药")},
                                     {QString::fromUtf8("Kestrin闹钟"), QString::fromUtf8("吃药")}}));
        f.window.showMinimized();
        f.arm(0, "12:30", 1);
        f.confirm();
        f.bench.clock.set(QDateTime(today.addDays(1), QTime(12, 30)));
        f.runChecks(1000);
        QCOMPARE(f.bench.notifications.sent.size(), 3);
    }

    // A daily alarm chosen in the heading's menu outlives the run: a new run puts it back in its
    // row, armed, and it rings there each day. Set back to once, it is no longer kept.
    void aDailyAlarmIsKeptAcrossRuns()
    {
        Fixture f;
        QCOMPARE(f.heading(0)->toolTip().section(u'\n', 1), QString::fromUtf8("重复：仅一次"));
        QVERIFY(f.rowAction(0, "ActionRepeat_once")->isChecked());
        f.rowAction(0, "ActionRepeat_daily")->trigger();
        QCOMPARE(f.heading(0)->toolTip().section(u'\n', 1), QString::fromUtf8("重复：每天"));
        QVERIFY(f.rowAction(0, "ActionRepeat_daily")->isChecked());
        QVERIFY(f.rowAction(1, "ActionRepeat_once")->isChecked()); // the choice is the row's
        f.rowAction(2, "ActionRepeat_weekends")->trigger();
        QVERIFY(f.rowAction(2, "ActionRepeat_weekends")->isChecked());
        QVERIFY(f.rowAction(0, "ActionRepeat_daily")->isChecked());
        f.rowAction(2, "ActionRepeat_once")->trigger();
        f.arm(0, "12:00", 2, "起床");
        f.arm(1, "12:00", 1);
        f.confirm();
        QCOMPARE(f.runChecks(10500), 3);
        QVERIFY(f.table.alarms[0].enabled);
        QCOMPARE(f.alarmTimer()->deadline(), QDateTime(today.addDays(1), QTime(12, 0)));

        // The next run, the next morning.
        f.bench.clock.set(QDateTime(today.addDays(1), QTime(9, 0)));
        f.restart();
        QVERIFY(f.restoreSaved());
        f.panel->onOpened(); // confirmed already: the rows stay
        QVERIFY(f.tick(0)->isChecked());
        QCOMPARE(f.time(0)->text(), QStringLiteral("12:00:00"));
        QCOMPARE(f.rings(0)->currentText(), QStringLiteral("2"));
        QCOMPARE(f.prompt(0)->text(), QString::fromUtf8("起床"));
        QVERIFY(!f.tick(1)->isChecked());
        QVERIFY(f.rowAction(0, "ActionRepeat_daily")->isChecked());
        QVERIFY(!f.table.alarms[1].enabled);
        f.bench.sound.played.clear();
        f.bench.clock.set(QDateTime(today.addDays(1), QTime(11, 59, 59)));
        QCOMPARE(f.runChecks(1500), 2);

        f.rowAction(0, "ActionRepeat_once")->trigger();
        f.confirm();
        QVERIFY(!QSettings(f.bench.path("kestrin.ini"), QSettings::IniFormat)
                     .childGroups()
                     .contains(Settings::name(Settings::Key::Alarms)));
    }

    // A kestrin.ini read only in part is not written over: the user is told once, not at every ring.
    void aBrokenSettingsFileIsToldOnceAndLeftAlone()
    {
        Fixture f;
        const QByteArray broken = "[ringtones\nalarm1=/x.wav\n";
        f.bench.write("kestrin.ini", broken);
        f.rowAction(0, "ActionRepeat_daily")->trigger();
        f.arm(0, "12:00", 3);
        f.confirm();
        f.runChecks(12000);
        QCOMPARE(f.bench.sound.played.size(), 3);
        QCOMPARE(f.bench.notifications.sent.size(), 1);
        QVERIFY(f.bench.notifications.sent[0][1].contains(QString::fromUtf8("第 1 行格式有误")));
        QCOMPARE(f.bench.read("kestrin.ini"), broken);
    }

    // The notice's menu puts off every alarm that rang into it, with its own ring count; the
    // heading says until when and its menu takes it back. A repeating alarm keeps its snooze
    // across a restart and its regular day.
    void aSnoozeFromTheNoticeMenu()
    {
        Fixture f;
        f.rowAction(0, "ActionRepeat_weekdays")->trigger();
        f.arm(0, "12:00", 2, "吃药");
        f.arm(1, "12:00", 1);
        f.confirm();
        f.runChecks(10500);
        FormAware* notice = f.panel->notice();
        QVERIFY(notice);
        QVERIFY(!f.rowAction(0, "ActionCancelSnooze")->isEnabled());
        QContextMenuEvent right(QContextMenuEvent::Mouse, QPoint(5, 5), notice->mapToGlobal(QPoint(5, 5)));
        QCoreApplication::sendEvent(notice, &right);
        QTRY_VERIFY(notice->snoozeMenu()->isVisible());
        notice->snoozeMenu()->hide();
        QTest::keyClick(notice, Qt::Key_F10, Qt::ShiftModifier);
        QTRY_VERIFY(notice->snoozeMenu()->isVisible());
        control<QAction>(notice->snoozeMenu(), "ActionSnooze10")->trigger();
        QTRY_VERIFY(!f.panel->notice());
        QCOMPARE(f.heading(0)->toolTip().section(u'\n', 2), QString::fromUtf8("已推迟到 12:10"));
        QCOMPARE(f.heading(1)->toolTip().section(u'\n', 2), QString::fromUtf8("已推迟到 12:10"));
        QVERIFY(f.rowAction(1, "ActionCancelSnooze")->isEnabled());
        f.rowAction(1, "ActionCancelSnooze")->trigger();
        QCOMPARE(f.heading(1)->toolTip().count(u'\n'), 1);

        // Kept in kestrin.ini: a new run within the ten minutes still rings at 12:10.
        f.bench.clock.set(QDateTime(today, QTime(12, 5)));
        f.restart();
        QVERIFY(f.restoreSaved());
        QCOMPARE(f.table.alarms[0].snoozedTo, QDateTime(today, QTime(12, 10)));
        QVERIFY(!f.table.alarms[1].active()); // a one-time alarm ends with its run
        f.bench.sound.played.clear();
        QCOMPARE(f.runChecks(5 * 60 * 1000 + 500), 2);
        QCOMPARE(f.noticeText("Label闹钟提醒"), QString::fromUtf8("吃药"));
        QVERIFY(!f.table.alarms[0].snoozedTo.isValid());
        QCOMPARE(f.table.alarms[0].due, QDateTime(today.addDays(1), QTime(12, 0)));
        QCOMPARE(f.heading(0)->toolTip().count(u'\n'), 1);
    }

    // Out of sight, the notification carries the notice's two commands; either one deals with the
    // notice, and a notice dealt with in the window takes its notification back.
    void theNotificationsButtons()
    {
        Fixture f;
        f.arm(0, "12:00", 1, "吃药");
        f.confirm();
        f.window.hide();
        f.runChecks(10000);
        QCOMPARE(f.bench.notifications.actions,
                 (QList<QStringList>{{QStringLiteral("snooze-5"), QStringLiteral("dismiss")}}));
        f.bench.notifications.press(1, QStringLiteral("snooze-5"));
        QTRY_VERIFY(!f.panel->notice());
        QCOMPARE(f.table.alarms[0].snoozedTo, QDateTime(today, QTime(12, 5)));
        QCOMPARE(f.bench.notifications.withdrawn, QList<int>{1});

        QCOMPARE(f.runChecks(5 * 60 * 1000), 1);
        QCOMPARE(f.bench.notifications.sent.size(), 2);
        f.bench.notifications.press(1, QStringLiteral("dismiss")); // an old one: nothing to do
        QVERIFY(f.panel->notice());
        f.bench.notifications.press(2, QStringLiteral("dismiss"));
        QTRY_VERIFY(!f.panel->notice());
        QVERIFY(!f.table.anyArmed());

        f.confirm();
        f.bench.clock.set(QDateTime(today.addDays(1), QTime(12, 0)));
        QVERIFY(f.panel->notice());
        QTest::mouseClick(f.panel->notice()->findChild<QWidget*>(QString::fromUtf8("Label我知道啦")),
                          Qt::LeftButton);
        QCOMPARE(f.bench.notifications.withdrawn, (QList<int>{1, 2, 3}));
    }

    void noticeCountsFromItsFirstLoadAndStartsAfreshWhenClosed()
    {
        Fixture f;
        f.arm(0, "12:00", 1, "one");
        f.arm(1, "12:01", 1);
        f.confirm();
        f.runChecks(10000);
        FormAware* notice = f.panel->notice();
        QVERIFY(notice);
        f.bench.clock.advance(30000);
        notice->tick();
        QCOMPARE(f.noticeText("Label超期时长"), QString::fromUtf8("超期时长: 0分30秒"));
        f.runChecks(30000); // the second alarm rings into the open notice
        QCOMPARE(f.panel->notice(), notice);
        notice->tick();
        QCOMPARE(f.noticeText("Label超期时长"), QString::fromUtf8("超期时长: 1分0秒"));
        QCOMPARE(f.noticeText("Label闹钟提醒"), QStringLiteral("one")); // an empty prompt keeps the last one
        QTest::mouseClick(notice->findChild<QWidget*>(QString::fromUtf8("Label我知道啦")), Qt::LeftButton);
        QTRY_VERIFY(!f.panel->notice());
        f.tick(0)->setChecked(false);
        f.tick(1)->setChecked(false);
        f.arm(2, "12:10", 1);
        f.confirm();
        f.bench.clock.set(QDateTime(today, QTime(12, 9, 59, 500)));
        QCOMPARE(f.runChecks(500), 1);
        QVERIFY(f.panel->notice());
        f.panel->notice()->tick();
        QCOMPARE(f.noticeText("Label超期时长"), QString::fromUtf8("超期时长: 0分0秒"));
        QCOMPARE(f.noticeText("Label闹钟提醒"), QString::fromUtf8("您设置的闹钟时间已到!"));
    }

    // "我知道啦!" closes the notice now and deletes it later: a ring in between must not land on
    // the closing window and vanish with it.
    void aRingRightAfterDismissingShowsANewNotice()
    {
        Fixture f;
        f.arm(0, "12:00", 1, "one");
        f.arm(1, "12:00:01", 1, "two");
        f.confirm();
        f.bench.clock.set(QDateTime(today, QTime(12, 0)));
        f.panel->checkAlarms();
        QVERIFY(f.panel->notice());
        QTest::mouseClick(f.panel->notice()->findChild<QWidget*>(QString::fromUtf8("Label我知道啦")),
                          Qt::LeftButton);
        f.bench.clock.advance(1000);
        f.panel->checkAlarms();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(f.panel->notice());
        QVERIFY(f.panel->notice()->isVisible());
        QCOMPARE(f.noticeText("Label闹钟提醒"), QStringLiteral("two"));
    }

    void noticeKeepsCountingAcrossMidnight()
    {
        Fixture f;
        f.bench.clock.set(QDateTime(today, QTime(23, 59, 0)));
        f.arm(0, "23:59:30", 1);
        f.confirm();
        f.runChecks(30000);
        QVERIFY(f.panel->notice());
        f.bench.clock.advance(75200);
        f.panel->notice()->tick();
        QCOMPARE(f.noticeText("Label超期时长"), QString::fromUtf8("超期时长: 1分15秒"));
    }

    void animationAlternatesThePictures()
    {
        Fixture f;
        QWidget* c1 = f.panel->findChild<QWidget*>(QStringLiteral("ImageClock1"));
        QWidget* c2 = f.panel->findChild<QWidget*>(QStringLiteral("ImageClock2"));
        ClockAnimation clock{c1, c2};
        clock.step();
        QVERIFY(!c1->isVisibleTo(f.panel) && c2->isVisibleTo(f.panel));
        clock.step();
        QVERIFY(c1->isVisibleTo(f.panel) && !c2->isVisibleTo(f.panel));
    }
};

QTEST_MAIN(TestAlarm)
#include "tst_alarm.moc"
