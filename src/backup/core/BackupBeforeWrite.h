#pragma once

#include "platform/files/TextFiles.h"

#include <QDate>

#include <functional>

class Backups;
class Clock;

// The data files, backed up before the first change of each day: whatever a day's first change
// does, the day before stays in backup/.
class BackupBeforeWrite final : public TextFiles
{
public:
    BackupBeforeWrite(TextFiles& files, Backups& backups, const Clock& clock);

    // Told what went wrong in a backup; a backup never stops the change itself.
    std::function<void(const QStringList& problems)> onFailure;

    bool exists(const QString& path) const override { return m_files.exists(path); }
    Read read(const QString& path) const override { return m_files.read(path); }
    Result append(const QString& path, const QByteArray& bytes) override;
    Result replace(const QString& path, const QByteArray& bytes) override;
    std::unique_ptr<Hold> holdFolderOf(const QString& path) override { return m_files.holdFolderOf(path); }

private:
    void backUpOncePerDay();

    TextFiles& m_files;
    Backups& m_backups;
    const Clock& m_clock;
    QDate m_backedUp;
};
