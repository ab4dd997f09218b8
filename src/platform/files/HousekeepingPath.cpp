#include "platform/files/HousekeepingPath.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>

QString housekeepingPathFor(const QString& folder)
{
    QString dir = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (dir.isEmpty() || !QFileInfo(dir).isDir())
        dir = QDir::tempPath();
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    const QByteArray hash = QCryptographicHash::hash((canonical.isEmpty() ? folder : canonical).toUtf8(),
                                                     QCryptographicHash::Sha1);
    return QDir(dir).filePath(QStringLiteral("kestrin-") + QString::fromLatin1(hash.toHex().left(16)));
}
