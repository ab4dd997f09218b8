#include "sync/SyncCommands.h"

#include "platform/system/SystemClock.h"
#include "sync/QtDavTransport.h"
#include "sync/SecretStore.h"
#include "sync/core/AgendaSync.h"
#include "sync/core/CalDavClient.h"
#include "sync/core/TaskExport.h"
#include "sync/core/TaskListFinder.h"

#include "backup/core/Backups.h"
#include "backup/core/FolderFiles.h"
#include "cli/AgendaFolder.h"
#include "cli/Command.h"
#include "cli/CommandLine.h"
#include "cli/CommandRun.h"
#include "cli/ExportCommand.h"
#include "cli/ScriptRequests.h"
#include "platform/Clock.h"
#include "platform/files/TextFiles.h"
#include "platform/instance/SingleInstance.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QJsonObject>
#include <QLockFile>
#include <QThread>

#include <cstdio>
#include <iostream>
#include <string>
#include <termios.h>
#include <unistd.h>

namespace SyncCommands {

namespace {

void print(std::FILE* to, const QString& text)
{
    Command::print(to, text);
}

QString statePath(const QString& appDir)
{
    return QDir(appDir).filePath(QString::fromUtf8(SyncState::fileName));
}

QString secretKey(const QString& user, const QUrl& url)
{
    return user + u'@' + url.toString();
}

// A line of standard input; on a terminal, asked for and read without echo.
QString readPassword(const QString& user)
{
    const bool terminal = isatty(STDIN_FILENO);
    termios saved{};
    if (terminal) {
        std::fputs(QStringLiteral("%1 的密码：").arg(user).toUtf8().constData(), stderr);
        tcgetattr(STDIN_FILENO, &saved);
        termios quiet = saved;
        quiet.c_lflag &= ~tcflag_t(ECHO);
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
    }
    std::string line;
    std::getline(std::cin, line);
    if (terminal) {
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
        std::fputs("\n", stderr);
    }
    return QString::fromLocal8Bit(line.c_str());
}

// Two syncs of one folder at once would each write what the other has not seen.
std::unique_ptr<QLockFile> lockSync(const QString& appDir)
{
    auto lock =
        std::make_unique<QLockFile>(SingleInstance::lockFilePathFor(appDir) + QStringLiteral(".sync"));
    if (!lock->tryLock(60000))
        return nullptr;
    return lock;
}

// The running copy's user may be making an entry: a sync that rewrote the agenda under it would
// refuse their change. Waits until it ends; a folder with no copy running goes at once.
bool waitForEntry(const QString& appDir)
{
    bool told = false;
    QDeadlineTimer deadline(std::chrono::minutes(10));
    for (;;) {
        // No copy running, or none that answers, has no entry open.
        const ResultOf<QJsonObject> answer = SingleInstance::send(appDir, ScriptRequests::syncRequest());
        if (!answer || !answer->value(QStringLiteral("busy")).toBool())
            return true;
        if (!told) {
            print(stderr, QStringLiteral("等待正在填写的日程完成……"));
            told = true;
        }
        if (deadline.hasExpired())
            return false;
        QThread::msleep(300);
    }
}

int runSync(TextFiles& disk, const QString& appDir, SyncState& state, const QString& password)
{
    if (!waitForEntry(appDir)) {
        print(stderr, QStringLiteral("同步失败：日程一直在填写中，稍后再同步。"));
        return 1;
    }
    SystemClock clock;
    // A completion on the phone removes items here: the day before stays in backup/ first.
    FolderFiles folder(disk, appDir, Backups::rememberedElsewhere(appDir), clock,
                       Command::printBackupProblems);
    QtDavTransport transport(state.user, password);
    transport.sendBasicAtOnce(state.basicAuth);
    CalDavClient client(transport, state.url);
    AgendaSync sync(folder.files(), clock, appDir, client);
    const AgendaSync::Report report = sync.run(state);
    print(report.result ? stdout : stderr, report.text());
    return report.result ? 0 : 1;
}

// The folder's link as caldav.json holds it (no url: none); nothing, with the reason printed, when
// the file does not read.
std::optional<SyncState> readLink(const TextFiles& disk, const QString& appDir)
{
    ResultOf<SyncState> loaded = SyncState::load(disk, statePath(appDir));
    if (!loaded) {
        print(stderr, QStringLiteral("kestrin: ") + loaded.error());
        return std::nullopt;
    }
    return std::move(*loaded);
}

int status(const TextFiles& disk, const CalDavCommand::Asked& options)
{
    const std::optional<SyncState> link = readLink(disk, options.appDir);
    if (!link)
        return 1;
    const SyncState& state = *link;
    if (state.url.isEmpty()) {
        print(stdout, QStringLiteral("没有连接任务列表（kestrin --caldav URL 连接）。"));
        return 0;
    }
    print(stdout, QStringLiteral("任务列表：%1%2")
                      .arg(state.url.toString(),
                           state.user.isEmpty() ? QString() : QStringLiteral("（用户 %1）").arg(state.user)));
    print(stdout,
          state.lastSuccess.isValid()
              ? QStringLiteral("上次同步成功：%1")
                    .arg(state.lastSuccess.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")))
              : QStringLiteral("还没有同步成功过。"));
    return 0;
}

int forget(const TextFiles& disk, const CalDavCommand::Asked& options)
{
    // A link whose file no longer reads is forgotten all the same; its password goes too when the
    // file still names its user.
    const ResultOf<SyncState> loaded = SyncState::load(disk, statePath(options.appDir));
    const SyncState state = loaded ? *loaded : SyncState::linkIn(disk, statePath(options.appDir));
    if (!loaded && state.user.isEmpty())
        print(stderr, QStringLiteral("kestrin: %1；密钥存储中如有它的密码，请在密钥管理程序中删除。")
                          .arg(loaded.error()));
    if (!state.user.isEmpty())
        SecretStore::remove(secretKey(state.user, state.url));
    if (QFile::exists(statePath(options.appDir)) && !QFile::remove(statePath(options.appDir))) {
        print(stderr, QStringLiteral("kestrin: %1 无法删除").arg(statePath(options.appDir)));
        return 1;
    }
    print(stdout, QStringLiteral("已断开任务列表；日程与任务列表中的内容都没有删除。"));
    return 0;
}

// One of several lists: by --tasklist, or asked on a terminal.
ResultOf<TaskListFinder::TaskList> choose(const QList<TaskListFinder::TaskList>& lists, const QString& wanted)
{
    QStringList names;
    for (const TaskListFinder::TaskList& list : lists) {
        if (!wanted.isEmpty() && list.name == wanted)
            return list;
        names.append(list.name);
    }
    if (!wanted.isEmpty()) {
        return Result::failed(QStringLiteral("没有名为“%1”的任务列表；这里有：%2")
                                  .arg(wanted, names.join(QStringLiteral("、"))));
    }
    if (lists.size() == 1)
        return lists.first();
    for (qsizetype i = 0; i < lists.size(); ++i)
        print(stderr, QStringLiteral("  %1. %2").arg(i + 1).arg(lists[i].name));
    if (isatty(STDIN_FILENO)) {
        std::fputs(QStringLiteral("请选择任务列表（1–%1）：").arg(lists.size()).toUtf8().constData(), stderr);
        std::string line;
        std::getline(std::cin, line);
        bool number = false;
        const int index = QString::fromStdString(line).trimmed().toInt(&number);
        if (number && index >= 1 && index <= lists.size())
            return lists[index - 1];
    }
    return Result::failed(
        QStringLiteral("服务器上有 %1 个任务列表，请用 --tasklist 名称 选择其中一个").arg(lists.size()));
}

// The address of the list the address means, made when missing.
ResultOf<QUrl> locate(DavTransport& transport, const CalDavCommand::Asked& options)
{
    TaskListFinder finder(transport);
    const ResultOf<TaskListFinder::Found> found = finder.find(QUrl(options.url));
    if (!found)
        return found.result();
    QUrl list = found->list;
    if (list.isEmpty() && found->lists.isEmpty() && options.list.isEmpty()) {
        if (found->home.host().endsWith(QStringLiteral("icloud.com")))
            return Result::failed(QStringLiteral(
                "iCloud 上没有能用 CalDAV 访问的任务列表：在 iOS 13 或更高版本上升级过的“提醒事项”列表，"
                "iCloud 不再通过 CalDAV 提供（这是 iCloud 的限制）"));
        list = found->home.resolved(QUrl(QStringLiteral("kestrin/")));
    } else if (list.isEmpty()) {
        const ResultOf<TaskListFinder::TaskList> chosen = choose(found->lists, options.list);
        if (!chosen)
            return chosen.result();
        list = chosen->url;
    }
    CalDavClient client(transport, list);
    if (const Result prepared = client.prepare(); !prepared)
        return prepared;
    return list;
}

int connect(TextFiles& disk, const CalDavCommand::Asked& options)
{
    const auto lock = lockSync(options.appDir);
    if (!lock) {
        print(stderr, QStringLiteral("kestrin: 另一个同步正在进行，请稍后再试。"));
        return 1;
    }
    SyncState state;
    state.user = options.user;
    QString password;
    {
        QtDavTransport transport(state.user, password);
        ResultOf<QUrl> ready = locate(transport, options);
        if (!ready && transport.passwordWanted()) {
            if (state.user.isEmpty()) {
                print(stderr, QStringLiteral("kestrin: 服务器要求登录，请用 --user 给出用户名。"));
                return 1;
            }
            password = readPassword(state.user);
            state.basicAuth = transport.askedForBasic();
            QtDavTransport withPassword(state.user, password);
            ready = locate(withPassword, options);
            if (ready) {
                state.url = *ready;
                // The password is kept before anything else is: a link whose password is lost
                // would fail at every sync.
                if (const Result kept = SecretStore::write(secretKey(state.user, state.url), password);
                    !kept) {
                    print(stderr, QStringLiteral("kestrin: ") + kept.error() + QStringLiteral("。未连接。"));
                    return 1;
                }
            }
        }
        if (!ready) {
            print(stderr, QStringLiteral("kestrin: 无法连接任务列表：") + ready.error());
            return 1;
        }
        state.url = *ready;
    }
    // A server that asked for no password gets none at a sync either: a user name kept without
    // one would send every sync looking for it in the secret store.
    if (password.isEmpty())
        state.user.clear();
    if (const Result saved = state.save(disk, statePath(options.appDir)); !saved) {
        print(stderr,
              QStringLiteral("kestrin: %1 无法写入：%2").arg(statePath(options.appDir), saved.error()));
        return 1;
    }
    print(stdout, QStringLiteral("已连接任务列表 %1。").arg(state.url.toString()));
    return runSync(disk, options.appDir, state, password);
}

} // namespace

int caldav(TextFiles& disk, const CalDavCommand::Asked& options)
{
    if (options.off)
        return forget(disk, options);
    if (options.url.isEmpty())
        return status(disk, options);
    return connect(disk, options);
}

int sync(TextFiles& disk, const QString& appDir)
{
    std::optional<SyncState> link = readLink(disk, appDir);
    if (!link)
        return 1;
    SyncState& state = *link;
    if (state.url.isEmpty()) {
        print(stderr, QStringLiteral("kestrin: 还没有连接任务列表（kestrin --caldav URL 连接）。"));
        return 1;
    }
    QString password;
    if (!state.user.isEmpty()) {
        const ResultOf<std::optional<QString>> stored = SecretStore::read(secretKey(state.user, state.url));
        if (!stored || !stored->has_value()) {
            print(stderr, QStringLiteral("kestrin: ") +
                              (stored ? QStringLiteral("密钥存储中没有这个任务列表的密码，请用 "
                                                       "kestrin --caldav URL --user 用户名 重新连接。")
                                      : stored.error()));
            return 1;
        }
        password = **stored;
    }
    const auto lock = lockSync(appDir);
    if (!lock) {
        print(stderr, QStringLiteral("kestrin: 另一个同步正在进行，请稍后再试。"));
        return 1;
    }
    return runSync(disk, appDir, state, password);
}

int exportCalendar(const CommandRun& run)
{
    // A synced item keeps its task's UID, so that the file and the list name the same task.
    QHash<QString, QString> uids;
    if (const ResultOf<SyncState> state =
            SyncState::load(run.folder.disk(), run.folder.path(SyncState::fileName)))
        for (const SyncEntry& entry : state->entries)
            if (entry.open)
                uids.insert(entry.values.text, entry.uid);
    return static_cast<const ExportCommand&>(*run.options.command)
        .exportWith(run, [&](const QList<AgendaExport::Entry>& entries) {
            return TaskExport::calendar(entries, uids, run.folder.clock().now());
        });
}

} // namespace SyncCommands
