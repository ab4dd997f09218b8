#pragma once

#include "platform/files/TextFiles.h"

#include <chrono>

// The data files on disk: whole-file rewrites through QSaveFile, appends synced, the folder held
// by a flock on a file in the runtime folder.
class DiskTextFiles final : public TextFiles
{
public:
    // holdLimit: how long a hold waits for another writer before it gives up.
    explicit DiskTextFiles(std::chrono::milliseconds holdLimit = std::chrono::seconds(10))
        : m_holdLimit(holdLimit)
    {
    }
    bool exists(const QString& path) const override;
    Read read(const QString& path) const override;
    Result append(const QString& path, const QByteArray& bytes) override;
    Result replace(const QString& path, const QByteArray& bytes) override;
    std::unique_ptr<Hold> holdFolderOf(const QString& path) override;

private:
    std::chrono::milliseconds m_holdLimit;
};
