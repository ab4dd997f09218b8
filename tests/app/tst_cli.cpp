#include "SingleInstance.h"
#include "TestBench.h"

#include <QDir>
#include <QProcess>
#include <QTest>

namespace {

struct Run
{
    int code = -1;
    QString out, err;
};

Run kestrin(const QStringList& arguments)
{
    QProcess process;
    // No display at all: the backups are for scripts and for a machine that will not start.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(KESTRIN_BINARY), arguments);
    if (!process.waitForFinished(20000))
        return {};
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

} // namespace

class TestCli : public QObject
{
    Q_OBJECT
private slots:
    void backupsAreListedAndRestoredWithoutADisplay()
    {
        TestBench bench;
        QTemporaryDir elsewhere;
        QDir(bench.dir.path()).mkdir(QStringLiteral("backup"));
        bench.write("backup/agenda-2026-12-05.txt",
                    agendaRecord("旧", QDate(2026, 12, 1), QDate(2026, 12, 2)));
        bench.write("agenda.txt", agendaRecord("新", QDate(2026, 12, 1), QDate(2026, 12, 2)));
        const QStringList dir{QStringLiteral("--dir"), bench.dir.path()};

        // The second folder is remembered; it holds a copy of its own.
        QFile remote(QDir(elsewhere.path()).filePath(QStringLiteral("my-2026-12-06.log")));
        QVERIFY(remote.open(QIODevice::WriteOnly) && remote.write("remote\r\n") == 8);
        remote.close();
        Run listed = kestrin(
            dir + QStringList{QStringLiteral("--backups"), QStringLiteral("--backup-dir"), elsewhere.path()});
        QCOMPARE(listed.code, 0);
        listed = kestrin(dir + QStringList{QStringLiteral("--backups")});
        QCOMPARE(listed.code, 0);
        QVERIFY2(listed.out.contains(QStringLiteral("2026-12-06  agenda.txt my.log")),
                 qPrintable(listed.out));
        QVERIFY2(listed.out.contains(QStringLiteral("2026-12-05  agenda.txt\n")), qPrintable(listed.out));

        {
            // A copy of the program running for the folder holds its files.
            SingleInstance running(bench.dir.path());
            QCOMPARE(running.claim(0), SingleInstance::First);
            const Run refused =
                kestrin(dir + QStringList{QStringLiteral("--restore"), QStringLiteral("2026-12-06")});
            QCOMPARE(refused.code, 1);
            QVERIFY2(refused.err.contains(QStringLiteral("正在使用")), qPrintable(refused.err));
            QCOMPARE(bench.read("agenda.txt"), agendaRecord("新", QDate(2026, 12, 1), QDate(2026, 12, 2)));
        }
        const Run restored =
            kestrin(dir + QStringList{QStringLiteral("--restore"), QStringLiteral("2026-12-06")});
        QCOMPARE(restored.code, 0);
        QCOMPARE(bench.read("agenda.txt"), agendaRecord("旧", QDate(2026, 12, 1), QDate(2026, 12, 2)));
        QCOMPARE(bench.read("my.log"), QByteArray("remote\r\n"));
        QCOMPARE(bench.read("agenda.txt.before-restore"),
                 agendaRecord("新", QDate(2026, 12, 1), QDate(2026, 12, 2)));
        QCOMPARE(kestrin(dir + QStringList{QStringLiteral("--restore"), QStringLiteral("2026-13-01")}).code,
                 2);
    }
};

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
