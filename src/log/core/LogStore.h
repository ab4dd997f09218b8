#pragma once

#include "log/core/LogFile.h"
#include "platform/files/StoreChange.h"

class TextFiles;

// my.log as last read, and deleting its lines. The lines are kept as read, so that a rewrite gives
// every other line back byte for byte.
class LogStore
{
public:
    LogStore(TextFiles& files, const QString& path);

    // Reads my.log; a file that cannot be read leaves no lines and the message in lines().error.
    const LogFile::Load& load();
    // Drops the lines without reading, for a file that is gone.
    void forget() { m_log = {}; }
    const LogFile::Load& lines() const { return m_log; }
    bool exists() const;
    // Counts the loads, so that an answer given to lines since loaded again is recognised as stale.
    int loads() const { return m_loads; }
    bool unchangedOnDisk() const;

    // Adds entries at the end; those already in the file (a retried sync's) are not added twice.
    StoreChange append(const QStringList& entries);
    // Deletes line row, unless the file changed since it was read.
    StoreChange removeLine(int row);

private:
    TextFiles& m_files;
    QString m_path;
    LogFile::Load m_log;
    int m_loads = 0;
};
