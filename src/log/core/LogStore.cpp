#include "log/core/LogStore.h"

#include "platform/files/HeldWrite.h"
#include "platform/files/TextFiles.h"

LogStore::LogStore(TextFiles& files, const QString& path) : m_files(files), m_path(path) {}

const LogFile::Load& LogStore::load()
{
    m_log = LogFile::load(m_files, m_path);
    ++m_loads;
    return m_log;
}

bool LogStore::exists() const
{
    return m_files.exists(m_path);
}

bool LogStore::unchangedOnDisk() const
{
    return m_log.stamp.matches(m_files, m_path);
}

StoreChange LogStore::removeLine(int row)
{
    if (row < 0 || row >= m_log.raw.size())
        return {};
    return writeHeld(m_files, m_path, &m_log.stamp, [&] {
        QList<QByteArrayView> kept = m_log.raw;
        kept.removeAt(row);
        if (const Result written = LogFile::rewrite(m_files, m_path, kept); !written)
            return StoreChange::failed(QStringLiteral("日志未能保存：无法写入 %1（%2）")
                                           .arg(QString::fromUtf8(LogFile::fileName), written.error()));
        return StoreChange::done();
    });
}

StoreChange LogStore::append(const QStringList& entries)
{
    const QStringList present = m_log.texts();
    QStringList missing;
    for (const QString& entry : entries)
        if (!present.contains(entry) && !missing.contains(entry))
            missing.append(entry);
    if (missing.isEmpty())
        return StoreChange::done();
    return writeHeld(m_files, m_path, nullptr, [&] {
        if (const Result written = LogFile::append(m_files, m_path, missing); !written)
            return StoreChange::failed(QStringLiteral("日志无法写入 %1（%2）")
                                           .arg(QString::fromUtf8(LogFile::fileName), written.error()));
        StoreChange change = StoreChange::done();
        change.archived = true;
        return change;
    });
}
