#include "cli/FolderChange.h"

#include "agenda/core/AgendaChange.h"
#include "agenda/core/AgendaSession.h"
#include "backup/core/FolderFiles.h"
#include "cli/Command.h"
#include "platform/Clock.h"
#include "platform/instance/SingleInstance.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QThread>

namespace FolderChange {

std::unique_ptr<QLockFile> lock(const QString& appDir)
{
    auto lock = std::make_unique<QLockFile>(SingleInstance::lockFilePathFor(appDir));
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0))
        return nullptr;
    return lock;
}

QString inUse(const QString& appDir)
{
    return QStringLiteral("kestrin: Kestrin 正在使用 %1").arg(QDir::toNativeSeparators(appDir));
}

Result apply(TextFiles& disk, const QString& appDir, const QString& elsewhere, const Clock& clock,
             const AgendaChange& change)
{
    // The running copy holds the folder's lock for its whole run and listens on its socket; another
    // script holds the lock only while it writes, and listens on nothing. So a lock held with no one
    // listening is waited out, not taken for a copy that does not answer.
    QDeadlineTimer deadline(std::chrono::seconds(10));
    for (;;) {
        if (const auto held = lock(appDir)) {
            FolderFiles folder(disk, appDir, elsewhere, clock, Command::printBackupProblems);
            AgendaSession session(folder.files(), clock, appDir);
            // A file that does not load is refused, with its reason, by the change itself.
            (void)session.load();
            return session.apply(change);
        }
        if (const ResultOf<QJsonObject> answer = SingleInstance::send(appDir, change.fields())) {
            if (answer->value(QStringLiteral("ok")).toBool())
                return Result::done();
            return Result::failed(answer->value(QStringLiteral("message")).toString());
        }
        if (deadline.hasExpired())
            break;
        QThread::msleep(10);
    }
    return Result::failed(inUse(appDir) + QStringLiteral("，但它没有应答，") + change.notDone());
}

} // namespace FolderChange
