#include "FileStamp.h"

#include "TextFiles.h"

#include <QCryptographicHash>
#include <QFileInfo>

namespace {

QByteArray hashOf(QByteArrayView bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha1);
}

} // namespace

FileStamp FileStamp::of(const QString& path, QByteArrayView bytes)
{
    FileStamp stamp;
    const QFileInfo info(path);
    stamp.m_exists = true;
    stamp.m_size = bytes.size();
    stamp.m_modified = info.lastModified();
    stamp.m_hash = hashOf(bytes);
    return stamp;
}

FileStamp FileStamp::missing()
{
    return FileStamp();
}

bool FileStamp::sameSizeAndTime(const QString& path) const
{
    const QFileInfo info(path);
    if (!info.exists())
        return !m_exists;
    return m_exists && info.size() == m_size && info.lastModified() == m_modified;
}

bool FileStamp::matches(const TextFiles& files, const QString& path) const
{
    if (!sameSizeAndTime(path))
        return false;
    if (!m_exists)
        return true;
    const TextFiles::Read read = files.read(path);
    return read.status == TextFiles::Read::Ok && hashOf(read.bytes) == m_hash;
}
