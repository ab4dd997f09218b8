#include "TestBench.h"
#include "agenda/core/AgendaStore.h"
#include "backup/core/BackupBeforeWrite.h"
#include "backup/core/Backups.h"

#include <QDir>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTest>
#include <QThread>

namespace {

// Writes a data file as if it was last changed at noon on day.
void writeOn(TestBench& bench, const char* name, const QByteArray& bytes, QDate day)
{
    bench.write(name, bytes);
    QFile file(bench.path(name));
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.setFileTime(QDateTime(day, QTime(12, 0)), QFileDevice::FileModificationTime));
}

QStringList copies(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files, QDir::Name);
}

} // namespace

class TestBackups : public QObject
{
    Q_OBJECT
private slots:
    // Each file (the repeating items' rules and the structure too) keeps its newest copies for 30 dates,
    // across a month end; a file that has not changed for longer keeps its last copy; the second folder gets
    // the same.
    void thirtyDatesAcrossAMonthEnd()
    {
        TestBench bench;
        QTemporaryDir elsewhere;
        Backups backups(bench.files, bench.dir.path(), elsewhere.filePath(QStringLiteral("sync")));
        writeOn(bench, "my.log", "old\r\n", QDate(2026, 10, 1));
        writeOn(bench, "repeat.txt", "\"a\",每天\r\n", QDate(2026, 10, 1));
        writeOn(bench, "structure.txt", "\"a\",\"\",高\r\n", QDate(2026, 10, 1));
        const QDate first(2026, 11, 10), last(2026, 12, 20);
        for (QDate day = first; day <= last; day = day.addDays(1)) {
            writeOn(bench, "agenda.txt", day.toString(Qt::ISODate).toLatin1() + "\r\n", day);
            QVERIFY(backups.take().isEmpty());
        }
        QStringList expected{QStringLiteral("my-2026-10-01.log"), QStringLiteral("repeat-2026-10-01.txt"),
                             QStringLiteral("structure-2026-10-01.txt")};
        for (QDate day = QDate(2026, 11, 21); day <= last; day = day.addDays(1))
            expected.append(QStringLiteral("agenda-%1.txt").arg(day.toString(Qt::ISODate)));
        std::sort(expected.begin(), expected.end());
        QCOMPARE(copies(backups.localDir()), expected);
        QCOMPARE(copies(elsewhere.filePath(QStringLiteral("sync"))), expected);
        QCOMPARE(QFile::permissions(backups.localDir()) & 0x0077, QFile::Permissions());
        QCOMPARE(backups.dates().size(), 31);
        QCOMPARE(backups.dates().first(), last);

        // A copy of the same date is replaced by the day's later state.
        writeOn(bench, "agenda.txt", "later\r\n", last);
        QVERIFY(backups.take().isEmpty());
        QFile copy(QDir(backups.localDir()).filePath(QStringLiteral("agenda-2026-12-20.txt")));
        QVERIFY(copy.open(QIODevice::ReadOnly));
        QCOMPARE(copy.readAll(), QByteArray("later\r\n"));
    }

    void aSecondFolderThatCannotBeWrittenLeavesTheLocalCopy()
    {
        TestBench bench;
        bench.write("blocked", "a file where the folder should be");
        Backups backups(bench.files, bench.dir.path(), bench.path("blocked"));
        bench.write("agenda.txt", "x\r\n");
        const QStringList problems = backups.take();
        QCOMPARE(problems.size(), 1);
        QVERIFY(problems.first().contains(QStringLiteral("blocked")));
        QCOMPARE(copies(backups.localDir()).size(), 1);
    }

    // Restoring a day brings back each file as it stood when that day ended: its newest copy of
    // that day or before. The files replaced are kept.
    void aRestoredDayIsTheNewestCopyUpToIt()
    {
        TestBench bench;
        Backups backups(bench.files, bench.dir.path(), {});
        writeOn(bench, "my.log", "log of the 1st\r\n", QDate(2026, 12, 1));
        writeOn(bench, "agenda.txt", "agenda of the 3rd\r\n", QDate(2026, 12, 3));
        QVERIFY(backups.take().isEmpty());
        writeOn(bench, "agenda.txt", "agenda of the 5th\r\n", QDate(2026, 12, 5));
        writeOn(bench, "my.log", "log of the 5th\r\n", QDate(2026, 12, 5));
        QVERIFY(backups.take().isEmpty());
        writeOn(bench, "agenda.txt", "today\r\n", QDate(2026, 12, 7));
        bench.write("my.log", "log today\r\n");

        QVERIFY(!backups.restore(QDate(2026, 12, 4))); // no copy of that date
        QCOMPARE(bench.read("agenda.txt"), QByteArray("today\r\n"));

        const ResultOf<QString> report = backups.restore(QDate(2026, 12, 3));
        QVERIFY(report);
        QCOMPARE(bench.read("agenda.txt"), QByteArray("agenda of the 3rd\r\n"));
        QCOMPARE(bench.read("my.log"), QByteArray("log of the 1st\r\n"));
        QCOMPARE(bench.read("agenda.txt.before-restore"), QByteArray("today\r\n"));
        QCOMPARE(bench.read("my.log.before-restore"), QByteArray("log today\r\n"));
        QVERIFY(report->contains(QStringLiteral("agenda-2026-12-03.txt")));
        QVERIFY(report->contains(QStringLiteral("my-2026-12-01.log")));
    }

    // A sync from cron rewrites the agenda while the user restores a day: a rewrite that had
    // checked the file just before the restore must not write the old agenda back over it.
    void aRestoreIsNotUndoneByASyncWritingAtOnce()
    {
        const QDate today(2026, 12, 7);
        TestBench bench;
        Backups backups(bench.files, bench.dir.path(), {});
        const QByteArray restored = agendaRecord("restored", today, today);
        writeOn(bench, "agenda.txt", restored, QDate(2026, 12, 3));
        QVERIFY(backups.take().isEmpty());
        bench.write("agenda.txt", agendaRecord("today", today, today));
        std::atomic<bool> writing{true};
        std::atomic<int> written{0};
        const std::unique_ptr<QThread> sync(QThread::create([&] {
            DiskTextFiles files;
            AgendaStore agenda(files, bench.path("agenda.txt"), bench.path("my.log"));
            while (writing) {
                if (!agenda.load(today))
                    continue;
                QList<AgendaItem> items = agenda.table().items;
                items.append({QStringLiteral("sync %1").arg(written), today, today, 0});
                if (agenda.replaceAll(items, {}).status == StoreChange::Done)
                    ++written;
            }
        }));
        sync->start();
        // A failed check leaves early: the writer must not outlive what it writes with.
        const auto stop = qScopeGuard([&] {
            writing = false;
            sync->wait();
        });
        for (int i = 0; i < 10; ++i) {
            // Each write of the sync adds an item numbered by the writes before it: one numbered
            // below start was read before the restore.
            const int start = written;
            QVERIFY(backups.restore(QDate(2026, 12, 3)));
            // Two more writes, so that one begun after the restore has landed.
            const int restoredAt = written;
            QTRY_VERIFY(written >= restoredAt + 2);
            const QByteArray agenda = bench.read("agenda.txt");
            QVERIFY2(agenda.startsWith(restored), agenda.constData());
            for (const QRegularExpressionMatch& item :
                 QRegularExpression(QStringLiteral("sync (\\d+)")).globalMatch(QString::fromLatin1(agenda)))
                QVERIFY2(item.captured(1).toInt() >= start, agenda.constData());
        }
    }

    // The first change of a day backs up the day before; later changes that day do not copy again.
    void theFirstChangeOfADayBacksUpFirst()
    {
        TestBench bench;
        Backups backups(bench.files, bench.dir.path(), {});
        BackupBeforeWrite files(bench.files, backups, bench.clock);
        writeOn(bench, "agenda.txt", "yesterday\r\n", bench.clock.today().addDays(-1));
        QVERIFY(files.replace(bench.path("agenda.txt"), "first\r\n"));
        QVERIFY(files.append(bench.path("agenda.txt"), "second\r\n"));
        // Changed "today" by the test's clock, whatever the real date of the run.
        QFile changed(bench.path("agenda.txt"));
        QVERIFY(changed.open(QIODevice::ReadWrite) &&
                changed.setFileTime(bench.clock.now(), QFileDevice::FileModificationTime));
        changed.close();
        const QString today = bench.clock.today().toString(Qt::ISODate);
        QCOMPARE(
            copies(backups.localDir()),
            QStringList{
                QStringLiteral("agenda-%1.txt").arg(bench.clock.today().addDays(-1).toString(Qt::ISODate))});
        bench.clock.advance(24 * 3600 * 1000);
        QVERIFY(files.replace(bench.path("agenda.txt"), "next day\r\n"));
        QFile copy(QDir(backups.localDir()).filePath(QStringLiteral("agenda-%1.txt").arg(today)));
        QVERIFY(copy.open(QIODevice::ReadOnly));
        QCOMPARE(copy.readAll(), QByteArray("first\r\nsecond\r\n"));
    }
};

QTEST_GUILESS_MAIN(TestBackups)
#include "platform/files/DiskTextFiles.h"
#include "tst_backups.moc"
