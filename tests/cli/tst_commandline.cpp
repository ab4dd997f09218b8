#include "cli/Autostart.h"
#include "cli/CalDavCommand.h"
#include "cli/Command.h"
#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/DataFolder.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

class TestCommandLine : public QObject
{
    Q_OBJECT
private slots:
    void directoryOfTheExecutableByDefault()
    {
        QTemporaryDir exe;
        const CommandLine c = *CommandLine::parse({}, exe.path());
        QVERIFY(!c.command);
        QCOMPARE(c.appDir, exe.path());
    }

    void dirOptionMovesAllFiles()
    {
        QTemporaryDir exe, data;
        QCOMPARE(CommandLine::parse({QStringLiteral("--dir"), data.path()}, exe.path())->appDir, data.path());
        QCOMPARE(CommandLine::parse({QStringLiteral("--dir=") + data.path()}, exe.path())->appDir,
                 data.path());
        // An option's value left out is not taken from the next option: --month --dir D is this
        // month, in D.
        const ResultOf<CommandLine> month =
            CommandLine::parse({QStringLiteral("--month"), QStringLiteral("--dir"), data.path()}, exe.path());
        QVERIFY2(month, qPrintable(month.error()));
        QVERIFY(month->runs(u"--month"));
        QCOMPARE(month->appDir, data.path());
    }

    // Each command checks its own options, and says what is wrong in its own words.
    void eachCommandChecksItsOptions()
    {
        QTemporaryDir exe;
        const struct
        {
            QStringList arguments;
            const char* refusal; // nullptr: taken
        } cases[] = {
            {{"--find"}, "--find 后面应是要找的字词或拼音"},
            {{"--list", "--finish", "x"}, "--finish 与 --set 只用于 --add"},
            {{"--repeat", "开会", "每周五下午5点"},
             "--repeat 的重复方式不带时间；提醒时间用 --time 内容 时间"},
            {{"--add", "x", "--repeat", "每周", "每月"}, "--add 的 --repeat 后面只是一个重复方式"},
            {{"--add", "x", "--repeat", "每周"}, nullptr},
            {{"--month", "1900-12"}, "--month 后面应是年与月，如 2027-02"},
            {{"--month", "1901-01"}, nullptr},
            {{"--time", "开会", "晚上"}, nullptr},
        };
        for (const auto& c : cases) {
            const ResultOf<CommandLine> parsed = CommandLine::parse(c.arguments, exe.path());
            QVERIFY2(bool(parsed) == !c.refusal, qPrintable(c.arguments.join(u' ') + u' ' + parsed.error()));
            if (c.refusal)
                QCOMPARE(parsed.error(), QString::fromUtf8(c.refusal));
        }
    }

    void badOptionsAreErrors()
    {
        QTemporaryDir exe;
        QVERIFY(!CommandLine::parse({QStringLiteral("--frobnicate")}, exe.path()));
        QVERIFY(!CommandLine::parse({QStringLiteral("--dir")}, exe.path()));
        QVERIFY(
            !CommandLine::parse({QStringLiteral("--dir"), exe.filePath(QStringLiteral("nope"))}, exe.path()));
        QCOMPARE(CommandLine::parse({QStringLiteral("--help")}, exe.path())->help, true);
        // A task list's address is a web address; a user name belongs to one.
        for (const QStringList& wrong :
             {QStringList{QStringLiteral("--caldav"), QStringLiteral("ftp://h/x/")},
              QStringList{QStringLiteral("--caldav"), QStringLiteral("tasks")},
              QStringList{QStringLiteral("--sync"), QStringLiteral("--user=a")},
              QStringList{QStringLiteral("--caldav"), QStringLiteral("--sync")},
              QStringList{QStringLiteral("--add"), QStringLiteral("x")},
              QStringList{QStringLiteral("--add"), QStringLiteral("x"), QStringLiteral("--repeat"),
                          QStringLiteral("off")}})
            QVERIFY(!CommandLine::parse(wrong, exe.path()));
        // A repetition says the finish date: its first day from today.
        QCOMPARE(CommandLine::parse({QStringLiteral("--add"), QString::fromUtf8("打卡"),
                                     QStringLiteral("--repeat"), QString::fromUtf8("法定工作日")},
                                    exe.path())
                     ->runs(u"--add"),
                 true);
        const CommandLine link =
            *CommandLine::parse({QStringLiteral("--caldav"), QStringLiteral("https://h/dav/tasks/"),
                                 QStringLiteral("--user"), QStringLiteral("a")},
                                exe.path());
        QVERIFY(link.runs(u"--caldav"));
        QCOMPARE(static_cast<const CalDavCommand&>(*link.command).asked(link).user, QStringLiteral("a"));
    }

    // The manual page's synopsis names the commands the program has, in the usage's order, each
    // with its options in order.
    void theManualPageSynopsisFollowsTheCommands()
    {
        const QRegularExpression option(QStringLiteral("--[a-z-]+"));
        auto options = [&](const QString& line) {
            QStringList found;
            for (const QRegularExpressionMatch& match : option.globalMatch(line))
                found.append(match.captured());
            return found.join(u' ');
        };
        QStringList program{QStringLiteral("--dir --backup-dir")};
        for (const Command* command : Commands::all())
            program.append(options(command->usage() + QStringLiteral(" [--dir DIR]")));

        QFile page(QStringLiteral(KESTRIN_MANUAL_PAGE));
        QVERIFY(page.open(QIODevice::ReadOnly));
        QString text = QString::fromUtf8(page.readAll()).replace(QStringLiteral("\\-"), QStringLiteral("-"));
        const qsizetype start = text.indexOf(QStringLiteral(".SH SYNOPSIS\n"));
        QVERIFY(start >= 0);
        text = text.mid(start, text.indexOf(QStringLiteral("\n.SH "), start + 1) - start);
        QStringList manual;
        for (const QString& entry : text.split(QStringLiteral(".br\n")))
            manual.append(options(entry));
        QCOMPARE(manual, program);
    }

    // An installed program (bin/ beside share/kestrin) keeps its data in the user's own folder,
    // created once with the sounds copied in; --dir still wins; --help names the folder.
    void anInstalledProgramKeepsItsDataInTheUsersFolder()
    {
        QTemporaryDir prefix, home, other;
        const QDir root(prefix.path());
        QVERIFY(root.mkpath(QStringLiteral("bin")) && root.mkpath(QStringLiteral("share/kestrin/sounds")));
        for (const char* name : {"clock1.wav", "Moveme.wav", "ClickMe.wav"}) {
            QFile sound(root.filePath(QStringLiteral("share/kestrin/sounds/") + QString::fromUtf8(name)));
            QVERIFY(sound.open(QIODevice::WriteOnly) && sound.write(name) > 0);
        }
        const QString bin = root.filePath(QStringLiteral("bin"));
        qputenv("XDG_DATA_HOME", home.path().toUtf8());
        const CommandLine c = *CommandLine::parse({}, bin);
        QVERIFY(!c.command);
        const QString data = QDir(home.path()).filePath(QStringLiteral("kestrin"));
        QCOMPARE(c.appDir, data);
        QVERIFY(DataFolder::prepare(c.appDir, bin));
        QCOMPARE(QFile::permissions(data) & 0x0077, QFile::Permissions());
        QCOMPARE(QDir(data).entryList(QDir::Files).size(), 3);
        // The user's own choice stays: a sound removed is not brought back.
        QVERIFY(QFile::remove(QDir(data).filePath(QStringLiteral("Moveme.wav"))));
        QVERIFY(DataFolder::prepare(c.appDir, bin));
        QCOMPARE(QDir(data).entryList(QDir::Files).size(), 2);
        QCOMPARE(CommandLine::parse({QStringLiteral("--dir"), other.path()}, bin)->appDir, other.path());
        QVERIFY(CommandLine::usage(data).endsWith(data));
        qunsetenv("XDG_DATA_HOME");
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
