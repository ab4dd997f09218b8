#include "platform/files/FileStamp.h"

#include "platform/files/TextFiles.h"

#include <QFileInfo>
#include <QHash>

namespace {

// Telling an edit apart, not withstanding an attacker: Qt's own hash is many times faster than
// a cryptographic one, and every load pays for it.
size_t hashOf(QByteArrayView bytes)
{
    return qHash(bytes, 0);
}

} // namespace

FileStamp FileStamp::sized(const QString& path, qsizetype size)
{
    FileStamp stamp;
    stamp.m_exists = true;
    stamp.m_size = size;
    stamp.m_modified = QFileInfo(path).lastModified();
    return stamp;
}

FileStamp FileStamp::of(const QString& path, QByteArrayView bytes)
{
    FileStamp stamp = sized(path, bytes.size());
    stamp.m_hash = hashOf(bytes);
    return stamp;
}

FileStamp FileStamp::keeping(const QString& path, const QByteArray& bytes)
{
    FileStamp stamp = sized(path, bytes.size());
    stamp.m_bytes = bytes;
    return stamp;
}

QString FileStamp::changedElsewhere(const QString& fileName)
{
    return QStringLiteral("%1 已在别处修改，已重新读取，请再操作一次。").arg(fileName);
}

bool FileStamp::matches(const TextFiles& files, const QString& path) const
{
    // A file whose size or time moved has surely changed; only then are the bytes worth reading.
    const QFileInfo info(path);
    if (!info.exists() || !m_exists)
        return info.exists() == m_exists;
    if (info.size() != m_size || info.lastModified() != m_modified)
        return false;
    const TextFiles::Read read = files.read(path);
    if (!read || !*read)
        return false;
    const QByteArray& bytes = **read;
    return m_bytes.isNull() ? hashOf(bytes) == m_hash : bytes == m_bytes;
}
