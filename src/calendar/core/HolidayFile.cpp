#include "calendar/core/HolidayFile.h"

#include "platform/files/TextCodec.h"
#include "platform/files/TextFiles.h"

#include <QDir>
#include <QStringDecoder>

namespace HolidayFile {

namespace {

QString pathIn(const QString& dataDir)
{
    return QDir(dataDir).filePath(QString::fromUtf8(fileName));
}

// The folder's own years alone.
ResultOf<HolidayCalendar> loadOwn(const TextFiles& files, const QString& dataDir)
{
    const TextFiles::Read read = readForLoader(files, pathIn(dataDir));
    if (!read)
        return read.result();
    if (!*read)
        return HolidayCalendar();
    const std::optional<QString> text = TextCodec::decode(**read);
    if (!text)
        return Result::failed(QStringLiteral("%1 不是 GB18030 文本").arg(QString::fromUtf8(fileName)));
    return HolidayCalendar::parse(*text, QString::fromUtf8(fileName));
}

} // namespace

ResultOf<HolidayCalendar> load(const TextFiles& files, const QString& dataDir)
{
    ResultOf<HolidayCalendar> own = loadOwn(files, dataDir);
    if (!own)
        return own;
    HolidayCalendar calendar = HolidayCalendar::builtIn();
    calendar.replaceYears(*own);
    return calendar;
}

HolidayCalendar loadOrShipped(const TextFiles& files, const QString& dataDir)
{
    const ResultOf<HolidayCalendar> read = load(files, dataDir);
    return read ? *read : HolidayCalendar::builtIn();
}

Result import(TextFiles& files, const QString& dataDir, const HolidayCalendar& imported)
{
    // Never written from a file read in part.
    ResultOf<HolidayCalendar> own = loadOwn(files, dataDir);
    if (!own)
        return own.result();
    own->replaceYears(imported);
    const ResultOf<QByteArray> bytes = TextCodec::encodeForWriting(
        QStringLiteral("# 导入的节假日安排：每行一个日期或一段日期、休或班、节日名称\r\n") + own->format());
    if (!bytes)
        return bytes.result();
    return files.replace(pathIn(dataDir), *bytes);
}

ResultOf<HolidayCalendar> parseBytes(const QByteArray& bytes, const QString& source)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8(bytes);
    if (utf8.hasError()) {
        const std::optional<QString> gb = TextCodec::decode(bytes);
        if (!gb)
            return Result::failed(QStringLiteral("%1 既不是 UTF-8 也不是 GB18030 文本").arg(source));
        text = *gb;
    }
    return HolidayCalendar::parse(text, source);
}

} // namespace HolidayFile
