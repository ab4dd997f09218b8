#include "log/core/LogFile.h"

#include "platform/files/TextCodec.h"
#include "platform/files/TextFiles.h"

#include <QStringDecoder>

namespace LogFile {

QString formatEntry(const QString& content, const QString& setDate, const QString& finishDate,
                    const QString& deletionDate)
{
    return content + QStringLiteral(": 设置日期") + setDate + QStringLiteral("; 预定完成日期") + finishDate +
           QStringLiteral("; 删除日期") + deletionDate;
}

QString Load::text(int row) const
{
    if (row < 0 || row >= raw.size())
        return {};
    if (std::optional<QString> text = TextCodec::decode(raw[row]))
        return std::move(*text);
    QStringDecoder lossy("GB18030", QStringConverter::Flag::Stateless);
    return lossy.decode(raw[row]);
}

QStringList Load::texts() const
{
    QStringList all;
    all.reserve(raw.size());
    for (int row = 0; row < raw.size(); ++row)
        all.append(text(row));
    return all;
}

Load load(const TextFiles& files, const QString& path)
{
    Load result;
    TextFiles::Read read = readForLoader(files, path);
    result.result = read ? Result::done() : read.result();
    if (!read || !*read)
        return result;
    result.bytes = std::move(**read);
    result.stamp = FileStamp::keeping(path, result.bytes);
    result.raw = TextCodec::splitLines(result.bytes);
    return result;
}

Result append(TextFiles& files, const QString& path, const QStringList& entries)
{
    QByteArray bytes;
    for (const QString& entry : entries) {
        const ResultOf<QByteArray> line = TextCodec::encodeForWriting(entry);
        if (!line)
            return line.result();
        bytes.append(*line);
        bytes.append(TextCodec::lineEnd);
    }
    return files.append(path, bytes);
}

Result rewrite(TextFiles& files, const QString& path, const QList<QByteArrayView>& lines)
{
    QByteArray bytes;
    qsizetype size = 0;
    for (QByteArrayView line : lines)
        size += line.size() + 2;
    bytes.reserve(size);
    for (QByteArrayView line : lines) {
        bytes.append(line);
        bytes.append(TextCodec::lineEnd);
    }
    return files.replace(path, bytes);
}

} // namespace LogFile
