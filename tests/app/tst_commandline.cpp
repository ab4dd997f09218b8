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
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
