#include "cli/CalDavCommand.h"

#include <QUrl>

#include <tuple>

#include "cli/CommandLine.h"
#include "cli/CommandRun.h"
#include "cli/SyncHelper.h"

CalDavCommand::CalDavCommand()
    : Command(
          QStringLiteral("--caldav"),
          QStringLiteral("--caldav [URL [--user 用户名] [--tasklist 名称] | off]"),
          QStringLiteral("  --caldav URL       与 URL 处的 CalDAV 任务列表同步日程（列表不存在时新建）；\n"
                         "                     URL 也可以是服务器的地址，程序自己找到任务列表，有几个时\n"
                         "                     用 --tasklist 名称 选择；服务器要密码时从标准输入读取，\n"
                         "                     存入桌面的密钥存储\n"
                         "  --caldav off       断开任务列表，两边的日程都不删除；不带参数则显示现状\n"))
{
}

QList<Command::Option> CalDavCommand::options() const
{
    const QString onlyLink = QStringLiteral("--user 与 --tasklist 只用于 --caldav URL");
    return {{QStringLiteral("--user"), 1, onlyLink, QStringLiteral("--user 后面应是用户名")},
            {QStringLiteral("--tasklist"), 1, onlyLink, QStringLiteral("--tasklist 后面应是任务列表的名称")}};
}

Result CalDavCommand::read(const Given& given)
{
    const QString value = given.value(name()).value(0);
    if (value == QStringLiteral("off")) {
        m_asked.off = true;
    } else if (!value.isEmpty()) {
        const QUrl url(value, QUrl::StrictMode);
        if (!url.isValid() || url.host().isEmpty() ||
            (url.scheme() != QStringLiteral("https") && url.scheme() != QStringLiteral("http")))
            return Result::failed(
                QStringLiteral("--caldav 后面应是任务列表的地址，如 https://example.org/dav/tasks/"));
        m_asked.url = value;
    }
    for (const auto& [option, into, missing] :
         {std::tuple{QStringLiteral("--user"), &m_asked.user, QStringLiteral("--user 后面应是用户名")},
          std::tuple{QStringLiteral("--tasklist"), &m_asked.list,
                     QStringLiteral("--tasklist 后面应是任务列表的名称")}}) {
        if (!given.contains(option))
            continue;
        if (given.value(option).value(0).isEmpty())
            return Result::failed(missing);
        *into = given.value(option).first();
        if (m_asked.url.isEmpty())
            return Result::failed(QStringLiteral("--user 与 --tasklist 只用于 --caldav URL"));
    }
    return Result::done();
}

CalDavCommand::Asked CalDavCommand::asked(const CommandLine& options) const
{
    Asked asked = m_asked;
    asked.appDir = options.appDir;
    return asked;
}

int CalDavCommand::run(const CommandRun& run) const
{
    return run.helper.caldav(run);
}
