#include "cli/FolderChange.h"

#include "agenda/core/AgendaFile.h"
#include "agenda/core/AgendaStore.h"
#include "backup/core/FolderFiles.h"
#include "calendar/core/HolidayCalendar.h"
#include "calendar/core/HolidayFile.h"
#include "cli/Command.h"
#include "log/core/LogFile.h"
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

Result make(TextFiles& disk, const QString& appDir, const QString& elsewhere, const Clock& clock,
            const QJsonObject& request, const std::function<StoreChange(AgendaStore&)>& write,
            const QString& notDone)
{
    // The running copy holds the folder's lock for its whole run and listens on its socket; another
    // script holds the lock only while it writes, and listens on nothing. So a lock held with no one
    // listening is waited out, not taken for a copy that does not answer.
    QDeadlineTimer deadline(std::chrono::seconds(10));
    for (;;) {
        if (const auto held = lock(appDir)) {
            FolderFiles folder(disk, appDir, elsewhere, clock, Command::printBackupProblems);
            AgendaStore store(folder.files(), QDir(appDir).filePath(QString::fromUtf8(AgendaFile::fileName)),
                              QDir(appDir).filePath(QString::fromUtf8(LogFile::fileName)));
            const HolidayCalendar holidays = HolidayFile::loadOrShipped(disk, appDir);
            store.setHolidays(holidays);
            // A file that does not load is refused, with its reason, by the change itself.
            (void)store.load(clock.today());
            const StoreChange change = write(store);
            if (change.status == StoreChange::Done)
                return Result::done();
            return Result::failed(change.message);
        }
        if (const ResultOf<QJsonObject> answer = SingleInstance::send(appDir, request)) {
            if (answer->value(QStringLiteral("ok")).toBool())
                return Result::done();
            return Result::failed(answer->value(QStringLiteral("message")).toString());
        }
        if (deadline.hasExpired())
            break;
        QThread::msleep(10);
    }
    return Result::failed(inUse(appDir) + QStringLiteral("，但它没有应答，") + notDone);
}

} // namespace FolderChange
