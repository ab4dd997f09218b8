#include "cli/AgendaFolder.h"

#include "agenda/core/AgendaChange.h"
#include "agenda/core/AgendaFile.h"
#include "agenda/core/AgendaSession.h"
#include "agenda/core/AgendaStore.h"
#include "backup/core/FolderFiles.h"
#include "calendar/core/HolidayFile.h"
#include "cli/Command.h"
#include "log/core/LogFile.h"
#include "platform/Clock.h"
#include "platform/instance/SingleInstance.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QThread>

AgendaFolder::AgendaFolder(TextFiles& disk, const QString& appDir, const QString& elsewhere,
                           const Clock& clock)
    : m_disk(disk), m_appDir(appDir), m_elsewhere(elsewhere), m_clock(clock)
{
}

AgendaFolder::~AgendaFolder() = default;

QString AgendaFolder::path(const char* fileName) const
{
    return QDir(m_appDir).filePath(QString::fromUtf8(fileName));
}

const HolidayCalendar& AgendaFolder::holidays()
{
    if (!m_holidays)
        m_holidays = HolidayFile::loadOrShipped(m_disk, m_appDir);
    return *m_holidays;
}

ResultOf<const AgendaTable*> AgendaFolder::agenda()
{
    if (!m_store) {
        m_store = std::make_unique<AgendaStore>(m_disk, path(AgendaFile::fileName), path(LogFile::fileName));
        m_store->setHolidays(holidays());
        m_loaded = m_store->load(m_clock.today());
    }
    if (!m_loaded)
        return m_loaded;
    return &m_store->table();
}

std::unique_ptr<QLockFile> AgendaFolder::lock() const
{
    auto lock = std::make_unique<QLockFile>(SingleInstance::lockFilePathFor(m_appDir));
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0))
        return nullptr;
    return lock;
}

QString AgendaFolder::inUse() const
{
    return QStringLiteral("kestrin: Kestrin 正在使用 %1").arg(QDir::toNativeSeparators(m_appDir));
}

Result AgendaFolder::apply(const AgendaChange& change)
{
    // The running copy holds the folder's lock for its whole run and listens on its socket; another
    // script holds the lock only while it writes, and listens on nothing. So a lock held with no one
    // listening is waited out, not taken for a copy that does not answer.
    QDeadlineTimer deadline(std::chrono::seconds(10));
    for (;;) {
        if (const auto held = lock()) {
            FolderFiles folder(m_disk, m_appDir, m_elsewhere, m_clock, Command::printBackupProblems);
            AgendaSession session(folder.files(), m_clock, m_appDir);
            // A file that does not load is refused, with its reason, by the change itself.
            (void)session.load();
            return session.apply(change);
        }
        if (const ResultOf<QJsonObject> answer = SingleInstance::send(m_appDir, change.fields())) {
            if (answer->value(QStringLiteral("ok")).toBool())
                return Result::done();
            return Result::failed(answer->value(QStringLiteral("message")).toString());
        }
        if (deadline.hasExpired())
            break;
        QThread::msleep(10);
    }
    return Result::failed(inUse() + QStringLiteral("，但它没有应答，") + change.notDone());
}
