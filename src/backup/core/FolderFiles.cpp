#include "backup/core/FolderFiles.h"

FolderFiles::FolderFiles(TextFiles& disk, const QString& dataDir, const QString& elsewhere,
                         const Clock& clock, std::function<void(const QStringList& problems)> onFailure)
    : m_backups(disk, dataDir, elsewhere), m_files(disk, m_backups, clock)
{
    m_files.onFailure = std::move(onFailure);
}
