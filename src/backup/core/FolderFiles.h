#pragma once

#include "backup/core/BackupBeforeWrite.h"
#include "backup/core/Backups.h"

#include <functional>

class Clock;

// The data folder's files as every writer of the folder has them: the day before is copied to
// backup/ (and the second folder, when one is set) before the day's first change.
class FolderFiles
{
public:
    // disk: the files themselves; onFailure: told what went wrong in a backup, which never stops
    // the change it comes before.
    FolderFiles(TextFiles& disk, const QString& dataDir, const QString& elsewhere, const Clock& clock,
                std::function<void(const QStringList& problems)> onFailure);

    TextFiles& files() { return m_files; }
    Backups& backups() { return m_backups; }

private:
    Backups m_backups;
    BackupBeforeWrite m_files;
};
