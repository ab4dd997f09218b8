#include "backup/core/BackupBeforeWrite.h"

#include "backup/core/Backups.h"
#include "platform/Clock.h"

BackupBeforeWrite::BackupBeforeWrite(TextFiles& files, Backups& backups, const Clock& clock)
    : m_files(files), m_backups(backups), m_clock(clock)
{
}

void BackupBeforeWrite::backUpOncePerDay()
{
    const QDate today = m_clock.today();
    if (m_backedUp == today)
        return;
    m_backedUp = today;
    if (const QStringList problems = m_backups.take(); !problems.isEmpty() && onFailure)
        onFailure(problems);
}

Result BackupBeforeWrite::append(const QString& path, const QByteArray& bytes)
{
    backUpOncePerDay();
    return m_files.append(path, bytes);
}

Result BackupBeforeWrite::replace(const QString& path, const QByteArray& bytes)
{
    backUpOncePerDay();
    return m_files.replace(path, bytes);
}
