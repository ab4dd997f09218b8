#include "Autostart.h"
#include "CommandLine.h"

#include <QTemporaryDir>
#include <QTest>

class TestCommandLine : public QObject
{
    Q_OBJECT
private slots:
    void directoryOfTheExecutableByDefault()
    {
        QTemporaryDir exe;
        const CommandLine c = CommandLine::parse({}, exe.path());
        QCOMPARE(c.action, CommandLine::Run);
        QCOMPARE(c.AppDir, exe.path());
    }

    void dirOptionMovesAllFiles()
    {
        QTemporaryDir exe, data;
        QCOMPARE(CommandLine::parse({QStringLiteral("--dir"), data.path()}, exe.path()).AppDir, data.path());
        QCOMPARE(CommandLine::parse({QStringLiteral("--dir=") + data.path()}, exe.path()).AppDir,
                 data.path());
    }

    void badOptionsAreErrors()
    {
        QTemporaryDir exe;
        QCOMPARE(CommandLine::parse({QStringLiteral("--frobnicate")}, exe.path()).action, CommandLine::Error);
        QCOMPARE(CommandLine::parse({QStringLiteral("--dir")}, exe.path()).action, CommandLine::Error);
        QCOMPARE(
            CommandLine::parse({QStringLiteral("--dir"), exe.filePath(QStringLiteral("nope"))}, exe.path())
                .action,
            CommandLine::Error);
        QCOMPARE(CommandLine::parse({QStringLiteral("--help")}, exe.path()).action, CommandLine::Help);
    }

    // The autostart entry's Exec line survives any folder name: quoted, escaped, and its
    // backslashes doubled as the value of a key.
    void autostartQuotesItsArguments()
    {
        QCOMPARE(Autostart::quoteArgument(QStringLiteral("/usr/bin/kestrin")),
                 QStringLiteral("/usr/bin/kestrin"));
        QCOMPARE(Autostart::quoteArgument(QString::fromUtf8("/home/u/我的 日程")),
                 QString::fromUtf8("\"/home/u/我的 日程\""));
        QCOMPARE(Autostart::quoteArgument(QStringLiteral("/a\"b$c`d\\e%f")),
                 QStringLiteral("\"/a\\\\\"b\\\\$c\\\\`d\\\\\\\\e%%f\""));
        QVERIFY(Autostart::entry(QStringLiteral("/opt/k"), QStringLiteral("/d d"))
                    .contains(QStringLiteral("\nExec=/opt/k --dir \"/d d\"\n")));
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
