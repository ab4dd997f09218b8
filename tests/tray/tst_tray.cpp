#include "WindowBench.h"
#include "platform/instance/SingleInstance.h"
#include "tray/ReminderPanel.h"
#include "tray/TrayController.h"
#include "tray/core/TrayRules.h"

#include <QAction>
#include <QLockFile>
#include <QMenu>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTest>
#include <QThread>
#include <QTimer>

namespace {

struct Fixture
{
    WindowBench bench;
    QWidget window;
    ReminderPanel* reminder;
    QWidget* agenda;
    TrayController* tray;

    Fixture()
    {
        window.resize(599, 400);
        reminder = new ReminderPanel(bench.clock, &window);
        agenda = new QWidget(&window);
        agenda->hide();
        tray = new TrayController(&window, bench.tray, reminder, agenda);
        window.show();
        tray->addIcon();
    }
    QAction* action(const char* name) const
    {
        return tray->menu()->findChild<QAction*>(QString::fromUtf8(name));
    }
    bool hidden() const { return !window.isVisible(); }
};

} // namespace

class TestTray : public QObject
{
    Q_OBJECT
private slots:
    void leftReleaseTogglesBetweenTrayAndWindow()
    {
        Fixture f;
        f.bench.tray.click(TrayClick::LeftRelease);
        QVERIFY(f.hidden());
        // Hidden, not minimised: the window manager's late word of a minimise would hide the
        // window again after a click on the icon had brought it back.
        QVERIFY(!f.window.isMinimized());
        QVERIFY(f.action("mnuTrayRestore")->isEnabled());
        QVERIFY(!f.action("mnuTrayMinimize")->isEnabled());
        f.bench.tray.click(TrayClick::LeftRelease);
        QVERIFY(!f.hidden());
        QVERIFY(!f.window.isMinimized());
        QVERIFY(!f.action("mnuTrayRestore")->isEnabled());
        QVERIFY(f.action("mnuTrayMinimize")->isEnabled());
        QCOMPARE(f.tray->lastState(), Qt::WindowNoState);
    }

    void onlyReleasesAct()
    {
        Fixture f;
        f.bench.tray.click(TrayClick::RightRelease);
        f.bench.tray.click(TrayClick::Other);
        QVERIFY(!f.hidden());
        // A double click is the second of two releases: the window toggles twice.
        f.bench.tray.click(TrayClick::LeftRelease);
        f.bench.tray.click(TrayClick::DoubleClick);
        QVERIFY(!f.hidden());
        QCOMPARE(TrayRules::onClick(TrayClick::RightRelease, true), TrayRules::ClickAction::Nothing);
        QCOMPARE(TrayRules::onClick(TrayClick::DoubleClick, false), TrayRules::ClickAction::Minimize);
    }

    void aMaximizedWindowComesBackMaximized()
    {
        Fixture f;
        f.window.setWindowState(Qt::WindowMaximized);
        QCOMPARE(f.tray->lastState(), Qt::WindowMaximized);
        f.action("mnuTrayMinimize")->trigger();
        QVERIFY(f.hidden());
        f.bench.tray.click(TrayClick::LeftRelease);
        QVERIFY(f.window.windowState() & Qt::WindowMaximized);
        f.window.setWindowState(Qt::WindowNoState);
        QCOMPARE(f.tray->lastState(), Qt::WindowNoState);
        QCOMPARE(f.window.size(), QSize(599, 400)); // the startup size comes back
    }

    void restoreAndMinimizeCommands()
    {
        Fixture f;
        f.action("mnuTrayMinimize")->trigger();
        QVERIFY(f.hidden());
        f.action("mnuTrayRestore")->trigger();
        QVERIFY(!f.hidden());
        QVERIFY(!f.window.isMinimized());
    }

    void withoutANotificationAreaTheWindowStaysOnTheTaskBar()
    {
        Fixture f;
        f.bench.tray.hasArea = false;
        f.action("mnuTrayMinimize")->trigger();
        QVERIFY(f.window.isMinimized());
        QVERIFY(f.window.isVisible());
        f.bench.tray.click(TrayClick::LeftRelease);
        QVERIFY(!f.window.isMinimized());
    }

    // Wayland reports a minimised window back as normal at once, and never reports its return:
    // the window goes to the tray by hiding and stays there, whatever the platform says of its
    // state meanwhile, until the icon, 恢复 or a second start bring it back.
    void withoutReportedStatesTheTrayHidesAndRestores()
    {
        Fixture f;
        f.tray->setWindowStatesReported(false);
        f.reminder->startReminder();
        f.bench.clock.advance(3500);
        f.reminder->checkReminder();
        QVERIFY(f.hidden());
        f.window.setWindowState(Qt::WindowNoState); // the platform's report
        QVERIFY(f.hidden());
        QVERIFY(f.action("mnuTrayRestore")->isEnabled());
        QVERIFY(!f.action("mnuTrayMinimize")->isEnabled());
        f.bench.tray.click(TrayClick::LeftRelease);
        QVERIFY(!f.hidden());
        QVERIFY(!f.action("mnuTrayRestore")->isEnabled());
        QVERIFY(f.action("mnuTrayMinimize")->isEnabled());
        f.action("mnuTrayMinimize")->trigger();
        QVERIFY(f.hidden());
        f.action("mnuTrayRestore")->trigger();
        QVERIFY(!f.hidden());
        // Minimised by its own title bar, then reported back as normal at once: it stays away.
        f.window.setWindowState(Qt::WindowMinimized);
        QVERIFY(f.hidden());
        f.window.setWindowState(Qt::WindowNoState);
        QVERIFY(f.hidden());
        f.bench.tray.click(TrayClick::LeftRelease);
        QVERIFY(!f.hidden());

        // Minimised by its title bar with no tray to go to, it is still minimised for all the
        // program knows: 恢复 maps it again.
        f.bench.tray.hasArea = false;
        f.window.setWindowState(Qt::WindowMinimized);
        f.window.setWindowState(Qt::WindowNoState);
        struct ShowCounter : QObject
        {
            int shows = 0;
            bool eventFilter(QObject*, QEvent* e) override
            {
                shows += e->type() == QEvent::Show;
                return false;
            }
        } counter;
        f.window.installEventFilter(&counter);
        f.tray->restore();
        QCOMPARE(counter.shows, 1); // mapped anew, as a new toplevel
        QVERIFY(!f.hidden());
    }

    void reminderNeedsMoreThanThreeSeconds()
    {
        Fixture f;
        f.reminder->startReminder();
        QVERIFY(f.reminder->timer()->isActive());
        f.bench.clock.advance(3000);
        f.reminder->checkReminder();
        QVERIFY(f.reminder->isVisible()); // 3.0 s is not enough
        f.bench.clock.advance(500);
        f.reminder->checkReminder();
        QVERIFY(!f.reminder->isVisibleTo(&f.window));
        QVERIFY(!f.reminder->timer()->isActive());
        QVERIFY(f.agenda->isVisibleTo(&f.window));
        QVERIFY(f.hidden());
    }

    void reminderTimesOutAcrossMidnight()
    {
        Fixture f;
        f.bench.clock.set(QDateTime(QDate(2026, 12, 7), QTime(23, 59, 59)));
        f.reminder->startReminder();
        f.bench.clock.advance(3500);
        f.reminder->checkReminder();
        QVERIFY(f.hidden());
    }

    void clickingTheReminderKeepsTheWindow()
    {
        Fixture f;
        f.reminder->startReminder();
        QTest::mouseClick(f.reminder, Qt::LeftButton);
        QVERIFY(!f.reminder->isVisibleTo(&f.window));
        QVERIFY(!f.reminder->timer()->isActive());
        QVERIFY(f.agenda->isVisibleTo(&f.window));
        f.bench.clock.advance(10000);
        f.reminder->checkReminder();
        QVERIFY(!f.hidden());
    }

    void clickingTheRemarkDismissesToo()
    {
        Fixture f;
        f.reminder->startReminder();
        QWidget* remark = f.reminder->findChild<QWidget*>(QString::fromUtf8("Label评论"));
        QVERIFY(QTest::qWaitForWindowExposed(&f.window));
        QTest::mouseClick(f.window.windowHandle(), Qt::LeftButton, {},
                          remark->mapTo(&f.window, remark->rect().center()));
        QVERIFY(!f.reminder->isVisibleTo(&f.window));
    }

    void reminderFromTheMenuBringsTheWindowBackAndRestartsTheSeconds()
    {
        Fixture f;
        f.agenda->show();
        f.action("mnuTrayMinimize")->trigger();
        f.action("menu显示Kestrin提醒")->trigger();
        QVERIFY(!f.hidden());
        QVERIFY(f.reminder->isVisibleTo(&f.window));
        QVERIFY(!f.agenda->isVisibleTo(&f.window));
        f.bench.clock.advance(2500);
        f.action("menu显示Kestrin提醒")->trigger(); // again while on view: three seconds from now
        f.bench.clock.advance(2500);
        f.reminder->checkReminder();
        QVERIFY(!f.hidden());
        f.bench.clock.advance(1000);
        f.reminder->checkReminder();
        QVERIFY(f.hidden());
    }

    void quitClosesTheNoticeFirstAndRemovesTheIcon()
    {
        Fixture f;
        bool noticeClosed = false;
        f.tray->onQuit = [&] { noticeClosed = true; };
        f.action("mnuTrayClose")->trigger();
        QVERIFY(noticeClosed);
        QVERIFY(f.bench.tray.removed);
    }

    void menuCaptionsAndTip()
    {
        Fixture f;
        QStringList captions;
        for (QAction* a : f.tray->menu()->actions())
            captions.append(a->isSeparator() ? QStringLiteral("-") : a->text());
        QCOMPARE(captions,
                 (QStringList{QString::fromUtf8("恢复(&R)"), QString::fromUtf8("最小化(&M)"),
                              QString::fromUtf8("显示Kestrin提醒(&A)"), QString::fromUtf8("月历(&L)"),
                              QStringLiteral("-"), QString::fromUtf8("关闭(&C)")}));
        QCOMPARE(f.bench.tray.adds, 1);
        // From the first showing, not only after a first minimise.
        QVERIFY(!f.action("mnuTrayRestore")->isEnabled());
        QVERIFY(f.action("mnuTrayMinimize")->isEnabled());
        f.tray->setTip(QString(70, u'x'));
        QCOMPARE(f.bench.tray.tip, QString(64, u'x'));
        const QString emoji = QString(63, u'a') + QString::fromUtf8("😀😀");
        QCOMPARE(TrayRules::tipText(emoji), QString(63, u'a')); // never half a character
    }

    void oneCopyPerDirectory()
    {
        QTemporaryDir dir;
        SingleInstance first(dir.path());
        QCOMPARE(first.claim(), SingleInstance::First);
        QVERIFY(first.listen());
        QSignalSpy activated(&first, &SingleInstance::activationRequested);
        SingleInstance second(dir.path());
        QCOMPARE(second.claim(), SingleInstance::Forwarded);
        QVERIFY(activated.wait(3000));
        QCOMPARE(activated.takeFirst().at(0).toString(), QString());
        // The launcher's leave to take the focus on Wayland goes to the copy whose window comes up.
        qputenv("XDG_ACTIVATION_TOKEN", "from-the-launcher");
        SingleInstance third(dir.path());
        QCOMPARE(third.claim(), SingleInstance::Forwarded);
        qunsetenv("XDG_ACTIVATION_TOKEN");
        QVERIFY(activated.wait(3000));
        QCOMPARE(activated.takeFirst().at(0).toString(), QStringLiteral("from-the-launcher"));
        QTemporaryDir other;
        SingleInstance elsewhere(other.path());
        QCOMPARE(elsewhere.claim(), SingleInstance::First); // another directory is another program
        QVERIFY(elsewhere.listen());
    }

    // A lock held by a copy that does not answer is said, not taken for success.
    void anUnreachableFirstCopyIsAFailure()
    {
        QTemporaryDir dir;
        SingleInstance probe(dir.path());
        QLockFile held(probe.lockFilePath());
        QVERIFY(held.tryLock(0));
        SingleInstance second(dir.path());
        QCOMPARE(second.claim(0), SingleInstance::Unreachable);
        // A script's --add holds the lock while it writes, and listens on nothing: a start in that
        // moment waits for it to let go and runs, instead of being refused.
        const std::unique_ptr<QThread> script(QThread::create([&held] {
            QThread::msleep(300);
            held.unlock();
        }));
        script->start();
        const auto joined = qScopeGuard([&script] { script->wait(); });
        SingleInstance third(dir.path());
        QCOMPARE(third.claim(10000), SingleInstance::First);
        QVERIFY(third.listen());
    }

    // In the shared temporary folder anyone could take the name first and keep the program out.
    void lockAndSocketLiveInTheUsersRuntimeFolder()
    {
        QTemporaryDir runtime;
        const QByteArray old = qgetenv("XDG_RUNTIME_DIR");
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
        QTemporaryDir dir;
        SingleInstance first(dir.path());
        QCOMPARE(first.claim(), SingleInstance::First);
        QVERIFY(first.listen());
        const QFileInfoList left = QDir(runtime.path()).entryInfoList(QDir::Files | QDir::System);
        qputenv("XDG_RUNTIME_DIR", old);
        QCOMPARE(left.size(), 2); // the lock and the socket
        QVERIFY(first.lockFilePath().startsWith(runtime.path()));
    }

    void aStaleLockDoesNotBlock()
    {
        QTemporaryDir dir;
        QString lockPath;
        {
            SingleInstance probe(dir.path());
            QCOMPARE(probe.claim(), SingleInstance::First);
            QVERIFY(probe.listen());
            lockPath = probe.lockFilePath();
        }
        // What a crashed copy leaves: a lock naming a process that no longer exists.
        QFile lock(lockPath);
        QVERIFY(lock.open(QIODevice::WriteOnly));
        lock.write("999999\nkestrin\n" + QSysInfo::machineHostName().toUtf8() + "\n");
        lock.close();
        SingleInstance next(dir.path());
        QCOMPARE(next.claim(), SingleInstance::First);
        QVERIFY(next.listen());
    }
};

QTEST_MAIN(TestTray)
#include "tst_tray.moc"
