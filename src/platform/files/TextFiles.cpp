#include "platform/files/TextFiles.h"

#include <QFileInfo>

TextFiles::Read readForLoader(const TextFiles& files, const QString& path)
{
    TextFiles::Read read = files.read(path);
    if (read)
        return read;
    return TextFiles::Read::failed(
        QStringLiteral("%1 无法读取：%2").arg(QFileInfo(path).fileName(), read.error()));
}
