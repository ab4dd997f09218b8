#include "agenda/core/AgendaFile.h"

#include "calendar/core/DateText.h"
#include "platform/TextCodec.h"
#include "platform/TextFiles.h"

#include <QFileInfo>
#include <QStringDecoder>

#include <algorithm>

namespace AgendaFile {

namespace {

// A record is read from the file's bytes, not from decoded text: its quotes, hashes, commas and
// dates are ASCII, and no byte below 0x40 other than a four-byte form's digits occurs inside a
// GB18030 character, so only the text between the quotes needs decoding.
using Line = QByteArrayView;

void skipBlanks(Line line, qsizetype& pos)
{
    while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t'))
        ++pos;
}

// The next c at or after from, or -1. Fields are a few characters long: a plain loop beats the
// call into a vectorised search that indexOf makes.
qsizetype find(Line line, char c, qsizetype from)
{
    for (qsizetype i = from; i < line.size(); ++i)
        if (line[i] == c)
            return i;
    return -1;
}

// "#2002-12-20#" at pos, or with a time of day, "#2002-12-20 15:00:00#", into time when it is
// wanted; an invalid date when there is none.
QDate readDate(Line line, qsizetype& pos, QTime* time = nullptr)
{
    if (pos >= line.size() || line[pos] != '#')
        return {};
    // Nearly every date has all ten characters: look there before searching.
    qsizetype close = pos + 11;
    if (close >= line.size() || line[close] != '#')
        close = find(line, '#', pos + 1);
    if (close < 0)
        return {};
    Line inside = line.sliced(pos + 1, close - pos - 1);
    pos = close + 1;
    if (const qsizetype blank = find(inside, ' ', 0); blank >= 0 && time) {
        *time = DateText::readTime(inside.sliced(blank + 1));
        if (!time->isValid())
            return {};
        inside = inside.first(blank);
    }
    return DateText::read(inside);
}

bool readComma(Line line, qsizetype& pos)
{
    skipBlanks(line, pos);
    if (pos >= line.size() || line[pos] != ',')
        return false;
    ++pos;
    skipBlanks(line, pos);
    return true;
}

bool isBlank(Line line)
{
    for (char c : line)
        if (c != ' ' && c != '\t')
            return false;
    return true;
}

constexpr char badBytes[] = "含有无法识别的字符";

// Why a line's bytes do not read: most often a file saved as UTF-8.
QString unreadable(QByteArrayView line)
{
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString asUtf8 = utf8.decode(line);
    return utf8.hasError() || asUtf8.isEmpty() ? QString::fromUtf8(badBytes)
                                               : QStringLiteral("文字是 UTF-8 编码，应为 GBK 编码");
}

QString failure(const QString& path, qsizetype lineNumber, const QString& reason)
{
    return QStringLiteral("%1 第 %2 行无法读取：%3")
        .arg(QFileInfo(path).fileName())
        .arg(lineNumber)
        .arg(reason);
}

} // namespace

void appendRecord(QString& text, const AgendaItem& item)
{
    text.append(u'"');
    text.append(item.text);
    text.append(QStringView(u"\",#"));
    text.append(DateText::format(item.setDate));
    text.append(QStringView(u"#,#"));
    text.append(DateText::format(item.finishDate));
    if (item.time.isValid()) {
        // The form a VB date literal takes: a reader before times refuses the line, never drops it.
        text.append(u' ');
        text.append(item.time.toString(QStringLiteral("HH:mm:ss")));
    }
    text.append(u'#');
    text.append(QLatin1String(TextCodec::lineEnd));
}

QByteArray formatRecord(const QString& content, QDate setDate, QDate finishDate)
{
    QString text;
    appendRecord(text, {content, setDate, finishDate, 0});
    return TextCodec::encode(text).value_or(QByteArray());
}

namespace {

// One record from one line (without its line end) into item, filled in place: a load makes one
// string per record and nothing more. Returns what is wrong, or nullptr.
const char* parseRecord(Line line, AgendaItem& item)
{
    qsizetype pos = 0;
    skipBlanks(line, pos);
    if (pos >= line.size() || line[pos] != '"')
        return "日程内容应以双引号开始";
    const qsizetype close = find(line, '"', pos + 1);
    if (close < 0)
        return "日程内容缺少结尾的双引号";
    std::optional<QString> content = TextCodec::decode(line.sliced(pos + 1, close - pos - 1));
    if (!content)
        return badBytes;
    item.text = std::move(*content);
    pos = close + 1;
    if (!readComma(line, pos) || pos >= line.size())
        return "缺少设置日期";
    item.setDate = readDate(line, pos);
    if (!item.setDate.isValid())
        return "设置日期不是有效日期";
    if (!readComma(line, pos) || pos >= line.size())
        return "缺少完成日期";
    item.finishDate = readDate(line, pos, &item.time);
    if (!item.finishDate.isValid())
        return "完成日期不是有效日期";
    skipBlanks(line, pos);
    if (pos != line.size())
        return "完成日期之后有多余的内容";
    return nullptr;
}

} // namespace

Load load(const TextFiles& files, const QString& path, QDate today)
{
    Load result;
    const TextFiles::Read read = readForLoader(files, path);
    result.result = read ? Result::done() : read.result();
    if (!read || !*read)
        return result;
    const std::optional<QByteArray>& bytes = *read;
    result.stamp = FileStamp::of(path, *bytes);

    QList<AgendaItem> items;
    items.reserve(std::count(bytes->cbegin(), bytes->cend(), '\n') + 1);
    qsizetype lineNumber = 0;
    const char* why = nullptr;
    QByteArrayView badLine;
    TextCodec::forEachLine(QByteArrayView(*bytes), [&](QByteArrayView line) {
        ++lineNumber;
        if (isBlank(line))
            return true;
        AgendaItem& item = items.emplace_back();
        why = parseRecord(line, item);
        item.daysLeft = int(today.daysTo(item.finishDate));
        badLine = line;
        return why == nullptr;
    });
    if (why) {
        // Bytes that are not GB18030 anywhere in the line say more than what the parser tripped on.
        result.result = Result::failed(failure(
            path, lineNumber, TextCodec::decode(badLine) ? QString::fromUtf8(why) : unreadable(badLine)));
        return result;
    }
    result.items = std::move(items);
    return result;
}

namespace {

ResultOf<QByteArray> encodeRecords(const QList<AgendaItem>& items)
{
    // The whole file as text first, encoded in one go: a converter per record costs more than the rest.
    QString text;
    text.reserve(items.size() * 40);
    for (const AgendaItem& item : items)
        appendRecord(text, item);
    return TextCodec::encodeForWriting(text);
}

} // namespace

Result append(TextFiles& files, const QString& path, const AgendaItem& item)
{
    const ResultOf<QByteArray> record = encodeRecords({item});
    return record ? files.append(path, *record) : record.result();
}

Result rewrite(TextFiles& files, const QString& path, const QList<AgendaItem>& items)
{
    const ResultOf<QByteArray> bytes = encodeRecords(items);
    return bytes ? files.replace(path, *bytes) : bytes.result();
}

} // namespace AgendaFile
