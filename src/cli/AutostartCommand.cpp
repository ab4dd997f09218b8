#include "cli/AutostartCommand.h"

#include "cli/Autostart.h"
#include "cli/CommandLine.h"
#include "cli/CommandRun.h"

AutostartCommand::AutostartCommand()
    : Command(QStringLiteral("--autostart"), QStringLiteral("--autostart [on|off]"),
              QStringLiteral(
                  "  --autostart on|off 登录时自动启动本程序（或不再自动启动）；不带 on/off 则显示现状\n"))
{
}

Result AutostartCommand::read(const Given& given)
{
    if (!given.value(name()).isEmpty())
        m_on = given.value(name()).first() == QStringLiteral("on");
    return Result::done();
}

int AutostartCommand::run(const CommandRun& run) const
{
    const CommandLine& options = run.options;
    if (!m_on) {
        print(stdout, Autostart::isOn()
                          ? QStringLiteral("登录时自动启动：开（%1）").arg(Autostart::entryPath())
                          : QStringLiteral("登录时自动启动：关"));
        return 0;
    }
    if (const Result done = Autostart::set(*m_on, run.program, options.dirGiven ? options.appDir : QString());
        !done) {
        print(stderr, QStringLiteral("kestrin: ") + done.error());
        return 1;
    }
    print(stdout, *m_on ? QStringLiteral("登录时自动启动：开（%1）").arg(Autostart::entryPath())
                        : QStringLiteral("登录时自动启动：关"));
    return 0;
}
