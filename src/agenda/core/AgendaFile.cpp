#include "agenda/core/AgendaFile.h"

#include "calendar/core/DateText.h"
#include "platform/files/TextCodec.h"
#include "platform/files/TextFiles.h"

#include <QFileInfo>
#include <QStringDecoder>

#include <algorithm>
#include <cstring>
#include <vector>

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

// The next c at or after from, or -1: memchr itself, without indexOf's checks around it.
qsizetype find(Line line, char c, qsizetype from)
{
    if (from >= line.size())
        return -1;
    const void* at = std::memchr(line.data() + from, c, size_t(line.size() - from));
    return at ? static_cast<const char*>(at) - line.data() : -1;
}

// The days a load has read, by their ten bytes: a file holds few distinct days, and each is
// worked out once.
class Days
{
public:
    QDate read(Line text)
    {
        if (text.size() != 10)
            return DateText::read(text);
        quint64 head = 0;
        quint16 tail = 0;
        std::memcpy(&head, text.data(), sizeof head);
        std::memcpy(&tail, text.data() + sizeof head, sizeof tail);
        Known& known = m_known[((head ^ tail) * 0x9E3779B97F4A7C15ull) >> (64 - bits)];
        if (known.head != head || known.tail != tail || !known.date.isValid()) {
            known = {head, tail, DateText::read(text)};
        }
        return known.date;
    }

private:
    static constexpr int bits = 10;
    struct Known
    {
        quint64 head = 0;
        quint16 tail = 0;
        QDate date;
    };
    std::vector<Known> m_known = std::vector<Known>(size_t(1) << bits);
};

// "#2002-12-20#" at pos, or with a time of day, "#2002-12-20 15:00:00#", into time when it is
// wanted; an invalid date when there is none.
QDate readDate(Days& days, Line line, qsizetype& pos, QTime* time = nullptr)
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
    return days.read(inside);
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

namespace {

// One record from one line (without its line end) into item, filled in place: a load makes one
// string per record and nothing more. Returns what is wrong, or nullptr.
const char* parseRecord(Days& days, Line line, AgendaItem& item)
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
    item.setDate = readDate(days, line, pos);
    if (!item.setDate.isValid())
        return "设置日期不是有效日期";
    if (!readComma(line, pos) || pos >= line.size())
        return "缺少完成日期";
    item.finishDate = readDate(days, line, pos, &item.time);
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
    Days days;
    const char* why = nullptr;
    QByteArrayView badLine;
    TextCodec::forEachLine(QByteArrayView(*bytes), [&](QByteArrayView line) {
        ++lineNumber;
        if (isBlank(line))
            return true;
        AgendaItem& item = items.emplace_back();
        why = parseRecord(days, line, item);
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
    // Each record's bytes written straight into the file's, through a pointer: no text of the
    // whole file between, and no bookkeeping of a container per piece.
    QByteArray bytes(items.size() * 64, Qt::Uninitialized);
    char* out = bytes.data();
    const auto room = [&bytes, &out](qsizetype wanted) {
        const qsizetype used = out - bytes.data();
        if (bytes.size() - used < wanted) {
            bytes.resize(std::max(bytes.size() * 2, used + wanted));
            out = bytes.data() + used;
        }
    };
    const auto put = [&out](const char* text, qsizetype n) {
        std::memcpy(out, text, size_t(n));
        out += n;
    };
    // A file holds few distinct days: each is worked out once and copied after.
    struct Day
    {
        qint64 julian = 0; // none: no date is day 0
        char text[10];
    };
    std::vector<Day> days(1024);
    const auto putDate = [&days, &out](QDate date) {
        const qint64 julian = date.toJulianDay();
        Day& day = days[size_t(julian) % days.size()];
        if (day.julian != julian) {
            day.julian = julian;
            DateText::write(day.text, date);
        }
        std::memcpy(out, day.text, sizeof day.text);
        out += sizeof day.text;
    };
    for (const AgendaItem& item : items) {
        // The text at two bytes a character, or four for the few the converter writes.
        room(item.text.size() * 4 + 40);
        *out++ = '"';
        if (char* end = TextCodec::encodeTwoByte(out, item.text)) {
            out = end;
        } else {
            const std::optional<QByteArray> text = TextCodec::encodeWithConverter(item.text);
            if (!text)
                return Result::failed(QStringLiteral("文字含有无法保存的字符"));
            put(text->constData(), text->size());
        }
        put("\",#", 3);
        putDate(item.setDate);
        put("#,#", 3);
        putDate(item.finishDate);
        if (item.time.isValid()) {
            // The form a VB date literal takes: a reader before times refuses the line, never drops it.
            const QByteArray time = item.time.toString(QStringLiteral(" HH:mm:ss")).toLatin1();
            put(time.constData(), time.size());
        }
        put("#", 1);
        put(TextCodec::lineEnd, qsizetype(sizeof TextCodec::lineEnd) - 1);
    }
    bytes.truncate(out - bytes.data());
    return bytes;
}

} // namespace

QByteArray formatRecord(const QString& content, QDate setDate, QDate finishDate)
{
    const ResultOf<QByteArray> record = encodeRecords({{content, setDate, finishDate, 0}});
    return record ? *record : QByteArray();
}

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
