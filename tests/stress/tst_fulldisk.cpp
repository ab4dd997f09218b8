// A full disk under the real file code: run by full_disk.sh on a tiny tmpfs, skipped elsewhere.
#include "TestBench.h"
#include "agenda/AgendaPanel.h"
#include "agenda/core/AgendaSession.h"
#include "agenda/core/DueReminder.h"
#include "log/LogPanel.h"
#include "log/core/LogFile.h"
#include "log/core/LogSession.h"

#include <QDir>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

#include "platform/files/DiskTextFiles.h"
#include "uikit/LineList.h"

namespace {

QByteArray readAll(const QString& path)
{
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

// Takes every free byte of the file system that holds dir.
void fill(const QString& dir)
{
    QFile filler(dir + QStringLiteral("/filler"));
    filler.open(QIODevice::WriteOnly);
    const QByteArray block(512, 'x');
    while (filler.write(block) == block.size() && filler.flush()) {
    }
    const QByteArray byte(1, 'x');
    while (filler.write(byte) == 1 && filler.flush()) {
    }
}

} // namespace

class TestFullDisk : public QObject
{
    Q_OBJECT
private slots:
    void nothingIsLostAndEveryFailureIsSaid()
    {
        const QString dir = qEnvironmentVariable("KESTRIN_FULL_DISK_DIR");
        if (dir.isEmpty())
            QSKIP("needs a tiny file system (full_disk.sh mounts one as root)");
        QByteArray agenda;
        for (int i = 0; i < 200; ++i)
            agenda += "\"item " + QByteArray::number(i) + "\",#2026-01-01#,#2026-02-01#\r\n";
        QByteArray log;
        for (int i = 0; i < 200; ++i)
            log += "entry " + QByteArray::number(i) + "\r\n";
        QFile(dir + QStringLiteral("/agenda.txt")).open(QIODevice::WriteOnly);
        {
            QFile a(dir + QStringLiteral("/agenda.txt")), l(dir + QStringLiteral("/my.log"));
            QVERIFY(a.open(QIODevice::WriteOnly) && a.write(agenda) == agenda.size());
            QVERIFY(l.open(QIODevice::WriteOnly) && l.write(log) == log.size());
        }
        fill(dir);

        FakeClock clock;
        ScriptedMessageBoxes messages;
        DiskTextFiles files;
        RecordingSound sound;
        RecordingShell shell;
        RecordingNotifications notifications;
        const Services services{clock, messages, files, sound, shell, notifications, dir};
        AgendaSession session(services);
        LogSession logSession(files, services.path(LogFile::fileName));
        DueReminder dueReminder(services);
        AgendaPanel panel(services, session, dueReminder, nullptr);
        LogPanel logPanel(services, logSession, nullptr);
        QObject::connect(&session, &AgendaSession::logChanged, &logSession, &LogSession::load);
        QVERIFY(panel.loadAgenda());
        logSession.load();

        panel.beginAdd();
        panel.findChild<QPlainTextEdit*>(QString::fromUtf8("Text添加日程"))
            ->setPlainText(QString(3000, u'长'));
        panel.confirmEntry();
        QCOMPARE(messages.shown.size(), 1);
        QVERIFY(messages.shown.last().contains(QStringLiteral("agenda.txt")));

        panel.beginModify();
        panel.findChild<QLineEdit*>(QString::fromUtf8("Text完成日期"))->setText(QStringLiteral("2027-01-01"));
        panel.findChild<QPlainTextEdit*>(QString::fromUtf8("Text添加日程"))
            ->setPlainText(QString(3000, u'改'));
        panel.confirmEntry();
        QCOMPARE(messages.shown.size(), 2);

        fill(dir); // a failed write gives its bytes back: take them again
        // Either the log line still fits in the log's last block and then the rewrite of the agenda
        // fails, or the log cannot grow; both ways the item stays and the failure is said.
        panel.deleteCurrentItem();
        QCOMPARE(messages.shown.size(), 4); // the confirmation and the failure
        const bool logGrew = readAll(dir + QStringLiteral("/my.log")) != log;
        QVERIFY(messages.shown.last().contains(logGrew ? QStringLiteral("agenda.txt")
                                                       : QStringLiteral("my.log")));
        const QByteArray logBefore = readAll(dir + QStringLiteral("/my.log"));

        logPanel.findChild<LineList*>(QStringLiteral("ListLog"))->setCurrentRow(5);
        // Removing a line needs a new file beside the old one, which no longer fits either.
        QFile::remove(dir + QStringLiteral("/filler"));
        fill(dir);
        logPanel.deleteCurrentEntry();

        QCOMPARE(readAll(dir + QStringLiteral("/agenda.txt")), agenda);
        const QByteArray after = readAll(dir + QStringLiteral("/my.log"));
        QCOMPARE(after, logBefore);
        QVERIFY(logBefore.startsWith(log));
        QVERIFY(logBefore == log || logBefore.mid(log.size()).startsWith("item 0: "));
        QVERIFY(messages.shown.last().contains(QStringLiteral("my.log")));
        QCOMPARE(panel.table().count(), 200);
        const QStringList left = QDir(dir).entryList(QDir::Files);
        QCOMPARE(left, (QStringList{QStringLiteral("agenda.txt"), QStringLiteral("filler"),
                                    QStringLiteral("my.log")}));
    }
};

QTEST_MAIN(TestFullDisk)
#include "tst_fulldisk.moc"
