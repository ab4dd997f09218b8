#include "TestBench.h"
#include "agenda/AgendaPanel.h"
#include "agenda/core/AgendaSession.h"
#include "agenda/core/DueReminder.h"
#include "log/LogPanel.h"
#include "log/core/LogFile.h"
#include "log/core/LogSession.h"

#include "uikit/LineList.h"
#include <QLabel>
#include <QPlainTextEdit>
#include <QTest>

namespace {

const QDate today(2026, 12, 7);

// The agenda and log panels wired as the main window wires them.
struct Fixture
{
    TestBench bench;
    AgendaSession session{bench.services};
    LogSession logSession{bench.files, bench.path("my.log")};
    DueReminder dueReminder{bench.services};
    std::unique_ptr<AgendaPanel> agenda;
    std::unique_ptr<LogPanel> log;

    Fixture(const QByteArray& agendaBytes, const QByteArray& logBytes = QByteArray())
    {
        bench.clock.set(QDateTime(today, QTime(10, 0)));
        if (!agendaBytes.isNull())
            bench.write("agenda.txt", agendaBytes);
        if (!logBytes.isNull())
            bench.write("my.log", logBytes);
        agenda = std::make_unique<AgendaPanel>(bench.services, session, dueReminder, nullptr);
        log = std::make_unique<LogPanel>(bench.services, logSession, nullptr);
        QObject::connect(&session, &AgendaSession::logChanged, &logSession, &LogSession::load);
        agenda->show();
        log->show();
        agenda->loadAgenda();
    }
    LineList* agendaList() const { return agenda->findChild<LineList*>(QStringLiteral("ListAgenda")); }
    LineList* logList() const { return log->findChild<LineList*>(QStringLiteral("ListLog")); }
    QString count() const { return log->findChild<QLabel*>(QString::fromUtf8("Label日志总条数"))->text(); }
    void deleteItem() const
    {
        QTest::mouseClick(agenda->findChild<QWidget*>(QString::fromUtf8("Label删除日程")), Qt::LeftButton);
    }
    void deleteEntry() const
    {
        QTest::mouseClick(log->findChild<QWidget*>(QString::fromUtf8("Label删除日志")), Qt::LeftButton);
    }
    QStringList logLines() const
    {
        QStringList out;
        for (int i = 0; i < logList()->count(); ++i)
            out.append(logList()->text(i));
        return out;
    }
};

QByteArray fiveEntries()
{
    QByteArray bytes;
    for (int i = 1; i <= 5; ++i)
        bytes += gbk("条目") + QByteArray::number(i) + "\r\n";
    return bytes;
}

} // namespace

class TestLog : public QObject
{
    Q_OBJECT
private slots:
    void deletionArchivesFirstAndCreatesTheLog()
    {
        Fixture f(agendaRecord("买菜,做饭; 注意:早去", QDate(2026, 12, 1), QDate(2026, 12, 5)) +
                  agendaRecord("开会", today, today.addDays(2)));
        f.deleteItem();
        QCOMPARE(f.bench.messages.shown, QStringList{QString::fromUtf8("警告：即将删除此条日程！")});
        QCOMPARE(f.bench.read("my.log"),
                 gbk("买菜,做饭; 注意:早去: 设置日期2026-12-01; 预定完成日期2026-12-05; "
                     "删除日期2026-12-07\r\n"));
        QCOMPARE(f.bench.read("agenda.txt"), agendaRecord("开会", today, today.addDays(2)));
        QCOMPARE(f.count(), QStringLiteral("1"));
        QCOMPARE(f.logList()->count(), 1);
        QCOMPARE(f.agendaList()->count(), 1);
    }

    void theLastItemStays()
    {
        const QByteArray only = agendaRecord("唯一", today, today);
        Fixture f(only);
        f.deleteItem();
        QCOMPARE(f.bench.messages.shown,
                 QStringList{QString::fromUtf8("总得留下最后一件事吧!否则，显得太无聊了。")});
        QCOMPARE(f.bench.messages.confirmations, 0);
        QCOMPARE(f.bench.read("agenda.txt"), only);
        QVERIFY(!QFile::exists(f.bench.path("my.log")));
    }

    void answeringNoChangesNothing()
    {
        const QByteArray two = agendaRecord("a", today, today) + agendaRecord("b", today, today);
        Fixture f(two);
        f.bench.messages.answers = {false};
        f.deleteItem();
        QCOMPARE(f.bench.read("agenda.txt"), two);
        QVERIFY(!QFile::exists(f.bench.path("my.log")));

        f.bench.write("my.log", fiveEntries());
        f.log->onOpened();
        f.bench.messages.answers = {false};
        f.deleteEntry();
        QCOMPARE(f.bench.messages.confirmations, 2);
        QCOMPARE(f.bench.read("my.log"), fiveEntries());
        QCOMPARE(f.count(), QStringLiteral("5"));
    }

    void anUnwritableLogKeepsTheItem()
    {
        const QByteArray two = agendaRecord("a", today, today) + agendaRecord("b", today, today);
        Fixture f(two);
        f.bench.files.failWritesTo = {QStringLiteral("my.log")};
        f.deleteItem();
        QCOMPARE(f.bench.read("agenda.txt"), two);
        QVERIFY(f.bench.messages.shown.last().contains(QStringLiteral("my.log")));
        QCOMPARE(f.agendaList()->count(), 2);
    }

    // A folder in the log's place is said with its name, as an unreadable agenda is, not shown empty.
    void aLogThatIsAFolderIsSaid()
    {
        Fixture f(agendaRecord("a", today, today));
        QVERIFY(QDir(f.bench.dir.path()).mkdir(QStringLiteral("my.log")));
        f.log->onOpened();
        QCOMPARE(f.bench.messages.shown.size(), 1);
        QVERIFY2(f.bench.messages.shown.last().startsWith(QString::fromUtf8("my.log 无法读取")),
                 qPrintable(f.bench.messages.shown.last()));
    }

    void anUnwritableAgendaIsReportedAndReloaded()
    {
        const QByteArray two = agendaRecord("a", today, today) + agendaRecord("b", today, today);
        Fixture f(two);
        f.bench.files.failWritesTo = {QStringLiteral("agenda.txt")};
        f.deleteItem();
        QCOMPARE(f.bench.read("agenda.txt"), two);
        QVERIFY(f.bench.messages.shown.last().contains(QStringLiteral("agenda.txt")));
        QCOMPARE(f.agendaList()->count(), 2); // the list shows what the file holds
    }

    // The files are plain text and get edited by hand while the program runs: a rewrite from the
    // table loaded before would undo the edit.
    void handEditsToTheAgendaAreNeverOverwritten()
    {
        const QByteArray two = agendaRecord("a", today, today) + agendaRecord("b", today, today);
        Fixture f(two);
        const QString changed = QString::fromUtf8("agenda.txt 已在别处修改，已重新读取，请再操作一次。");
        const QByteArray added = two + agendaRecord("手加的", today, today);
        f.bench.write("agenda.txt", added);
        f.deleteItem();
        QCOMPARE(f.bench.read("agenda.txt"), added);
        QVERIFY(!QFile::exists(f.bench.path("my.log")));
        QCOMPARE(f.bench.messages.shown.last(), changed);
        QCOMPARE(f.agendaList()->count(), 3);

        // Same size, and quite likely the same modification time: only the contents tell.
        const QByteArray sameSize = agendaRecord("c", today, today) + agendaRecord("b", today, today) +
                                    agendaRecord("手加的", today, today);
        f.bench.write("agenda.txt", sameSize);
        QTest::mouseClick(f.agenda->findChild<QWidget*>(QString::fromUtf8("Label修改日程")), Qt::LeftButton);
        f.agenda->findChild<QPlainTextEdit*>(QString::fromUtf8("Text添加日程"))
            ->setPlainText(QStringLiteral("x"));
        QTest::mouseClick(f.agenda->findChild<QWidget*>(QString::fromUtf8("Label确认添加")), Qt::LeftButton);
        QCOMPARE(f.bench.read("agenda.txt"), sameSize);
        QCOMPARE(f.bench.messages.shown.last(), changed);
        QCOMPARE(f.agendaList()->text(0), QStringLiteral("c"));
        QVERIFY(!f.agenda->inEntryMode());
    }

    // The answer was given to the list as it stood; an edit loaded while the box was open may
    // even leave the chosen item as the last one.
    void aReloadUnderTheBoxDeletesNothing()
    {
        Fixture f(agendaRecord("a", today, today) + agendaRecord("b", today, today));
        const QByteArray onlyA = agendaRecord("a", today, today);
        f.bench.messages.whileOpen = [&] {
            f.bench.write("agenda.txt", onlyA);
            f.session.reloadIfChanged();
        };
        f.deleteItem();
        QCOMPARE(f.bench.read("agenda.txt"), onlyA);
        QVERIFY(!QFile::exists(f.bench.path("my.log")));
    }

    // An answer given to lines since loaded again is stale: a reload of the log while the box is
    // open deletes nothing, and a restore chosen before a reload restores nothing.
    void anAnswerToLinesLoadedSinceIsStale()
    {
        Fixture f(QByteArray(), fiveEntries());
        f.log->onOpened();
        const QByteArray edited = gbk("别处的\r\n") + fiveEntries();
        f.bench.messages.whileOpen = [&] {
            f.bench.write("my.log", edited);
            f.logSession.reloadIfChanged();
        };
        f.deleteEntry();
        QCOMPARE(f.bench.read("my.log"), edited);

        int restored = 0;
        f.logSession.setRestorer([&restored](LogStore&, int) {
            ++restored;
            return Result::done();
        });
        const int loads = f.logSession.loads();
        f.logSession.load();
        QVERIFY(f.logSession.restore(0, loads));
        QCOMPARE(restored, 0);
        QVERIFY(f.logSession.restore(0, f.logSession.loads()));
        QCOMPARE(restored, 1);
    }

    // A log that cannot be read is told when the panel opens, and shows no lines.
    void anUnreadableLogIsTold()
    {
        Fixture f(QByteArray(), fiveEntries());
        f.bench.files.failReadsOf = QStringList{QStringLiteral("my.log")};
        f.log->onOpened();
        QCOMPARE(f.bench.messages.shown.size(), 1);
        QVERIFY2(f.bench.messages.shown[0].contains(QStringLiteral("my.log")),
                 qPrintable(f.bench.messages.shown[0]));
        QCOMPARE(f.count(), QStringLiteral("0"));
    }

    void handEditsToTheLogAreNeverOverwritten()
    {
        Fixture f(QByteArray(), fiveEntries());
        f.log->onOpened();
        const QByteArray edited = fiveEntries() + gbk("手加的\r\n");
        f.bench.write("my.log", edited);
        f.deleteEntry();
        QCOMPARE(f.bench.read("my.log"), edited);
        QCOMPARE(f.bench.messages.shown.last(),
                 QString::fromUtf8("my.log 已在别处修改，已重新读取，请再操作一次。"));
        QCOMPARE(f.count(), QStringLiteral("6"));
    }

    void deletingEntryThreeOfFive()
    {
        Fixture f(QByteArray(), fiveEntries());
        f.log->onOpened();
        f.logList()->setCurrentRow(2);
        f.deleteEntry();
        QCOMPARE(f.bench.messages.shown, QStringList{QString::fromUtf8("小心：此操作将删除此条日志！")});
        QCOMPARE(f.bench.read("my.log"), gbk("条目1\r\n条目2\r\n条目4\r\n条目5\r\n"));
        QCOMPARE(f.count(), QStringLiteral("4"));
        QCOMPARE(f.logList()->currentRow(), 0);
        QCOMPARE(f.logList()->toolTip(), QString::fromUtf8("条目1"));
    }

    void deletingTheOnlyEntryKeepsAnEmptyFile()
    {
        Fixture f(QByteArray(), gbk("唯一\r\n"));
        f.log->onOpened();
        f.deleteEntry();
        QVERIFY(QFile::exists(f.bench.path("my.log")));
        QCOMPARE(f.bench.read("my.log"), QByteArray());
        QCOMPARE(f.count(), QStringLiteral("0"));
        QCOMPARE(f.logList()->count(), 0);
        f.bench.messages.shown.clear();
        f.deleteEntry(); // an empty list: silent
        QVERIFY(f.bench.messages.shown.isEmpty());
    }

    void linesSurviveByteForByte()
    {
        const QString data = QStringLiteral(KESTRIN_TEST_DATA "/log_mixed.txt");
        QFile in(data);
        QVERIFY(in.open(QIODevice::ReadOnly));
        const QByteArray original = in.readAll();
        Fixture f(QByteArray(), original);
        f.log->onOpened();
        QCOMPARE(f.count(), QStringLiteral("4")); // an empty line and a last line without CR LF count
        QCOMPARE(f.logList()->text(1), QString());
        QCOMPARE(f.logList()->text(3), QStringLiteral("last without line end"));
        f.logList()->setCurrentRow(0);
        f.deleteEntry();
        // The foreign bytes of line 3 are written back unchanged; the last line gains its CR LF.
        QCOMPARE(f.bench.read("my.log"),
                 QByteArray("\r\nforeign \x81\x20 bytes\r\nlast without line end\r\n"));
    }

    void noCurrentLineWritesNothing()
    {
        Fixture f(QByteArray(), fiveEntries());
        f.log->onOpened();
        f.logList()->setCurrentRow(-1);
        f.deleteEntry();
        QCOMPARE(f.bench.messages.confirmations, 0);
        QCOMPARE(f.bench.read("my.log"), fiveEntries());
    }

    void aVanishedLogEmptiesThePanel()
    {
        Fixture f(QByteArray(), fiveEntries());
        f.log->onOpened();
        QCOMPARE(f.logList()->count(), 5);
        QFile::remove(f.bench.path("my.log"));
        f.log->onOpened();
        QCOMPARE(f.count(), QStringLiteral("0"));
        QCOMPARE(f.logList()->count(), 0);
        QVERIFY(!QFile::exists(f.bench.path("my.log"))); // opening never creates it
    }

    void clickingALineShowsItWhole()
    {
        Fixture f(QByteArray(), fiveEntries());
        f.log->onOpened();
        QCOMPARE(f.logList()->toolTip(), QString::fromUtf8("条目1"));
        f.logList()->setCurrentRow(3);
        QCOMPARE(f.logList()->toolTip(), QString::fromUtf8("条目4"));
    }

    // 删除日志 deletes the current line, so it must be told from the others without focus or pointer.
    void theCurrentLineIsVisiblyMarked()
    {
        Fixture f(QByteArray(), gbk("同一条") + "\r\n" + gbk("同一条") + "\r\n");
        f.log->onOpened();
        LineList* list = f.logList();
        QCOMPARE(list->currentRow(), 0);
        const QImage shot = list->viewport()->grab().toImage();
        const QRect first = list->visualRect(list->model()->index(0, 0));
        const QRect second = list->visualRect(list->model()->index(1, 0));
        QVERIFY(shot.copy(first) != shot.copy(second));
    }
};

QTEST_MAIN(TestLog)
#include "tst_log.moc"
