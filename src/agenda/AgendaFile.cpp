#include "AgendaFile.h"

#include "DateText.h"
#include "TextCodec.h"
#include "TextFiles.h"

#include <QFileInfo>
#include <QStringDecoder>

namespace AgendaFile {

namespace {

void appendDate(QByteArray& out, QDate date)
{
    const int y = date.year(), m = date.month(), d = date.day();
    const char text[12] = {'#',
                           char('0' + y / 1000),
                           char('0' + y / 100 % 10),
                           char('0' + y / 10 % 10),
                           char('0' + y % 10),
                           '-',
                           char('0' + m / 10),
                           char('0' + m % 10),
                           '-',
                           char('0' + d / 10),
                           char('0' + d % 10),
                           '#'};
    out.append(text, 12);
}

void skipBlanks(QStringView line, qsizetype& pos)
{
    while (pos < line.size() && (line[pos] == u' ' || line[pos] == u'\t'))
        ++pos;
}

int digitsAt(QStringView s, qsizetype& pos, int maxDigits)
{
    int value = 0, n = 0;
    while (pos < s.size() && n < maxDigits && s[pos] >= u'0' && s[pos] <= u'9') {
        value = value * 10 + (s[pos].unicode() - u'0');
        ++pos;
        ++n;
    }
    return n == 0 ? -1 : value;
}

// "#2002-12-20#" at pos; one-digit months and days are accepted as hand-edited files have them.
std::optional<QDate> readDate(QStringView line, qsizetype& pos)
{
    if (pos >= line.size() || line[pos] != u'#')
        return std::nullopt;
    const qsizetype close = line.indexOf(u'#', pos + 1);
    if (close < 0)
        return std::nullopt;
    QStringView text = line.sliced(pos + 1, close - pos - 1);
    pos = close + 1;
    qsizetype p = 0;
    const int y = digitsAt(text, p, 4);
    if (p != 4 || y < 1000 || p >= text.size() || text[p] != u'-')
        return std::nullopt;
    ++p;
    const int m = digitsAt(text, p, 2);
    if (m < 0 || p >= text.size() || text[p] != u'-')
        return std::nullopt;
    ++p;
    const int d = digitsAt(text, p, 2);
    if (d < 0 || p != text.size())
        return std::nullopt;
    const QDate date(y, m, d);
    if (!date.isValid())
        return std::nullopt;
    return date;
}

bool readComma(QStringView line, qsizetype& pos)
{
    skipBlanks(line, pos);
    if (pos >= line.size() || line[pos] != u',')
        return false;
    ++pos;
    skipBlanks(line, pos);
    return true;
}

bool isBlank(QStringView line)
{
    for (QChar c : line)
        if (c != u' ' && c != u'\t')
            return false;
    return true;
}

QString failure(const QString& path, qsizetype lineNumber, const QString& reason)
{
    return QStringLiteral("%1 第 %2 行无法读取：%3")
        .arg(QFileInfo(path).fileName())
        .arg(lineNumber)
        .arg(reason);
}

} // namespace

QByteArray formatRecord(const QString& content, QDate setDate, QDate finishDate)
{
    const std::optional<QByteArray> text = TextCodec::encode(content);
    if (!text)
        return {};
    QByteArray out;
    out.reserve(text->size() + 30);
    out.append('"');
    out.append(*text);
    out.append("\",", 2);
    appendDate(out, setDate);
    out.append(',');
    appendDate(out, finishDate);
    out.append("\r\n", 2);
    return out;
}

std::optional<AgendaItem> parseRecord(QStringView line, QString* reason)
{
    auto fail = [reason](const char* why) -> std::optional<AgendaItem> {
        if (reason)
            *reason = QString::fromUtf8(why);
        return std::nullopt;
    };
    qsizetype pos = 0;
    skipBlanks(line, pos);
    if (pos >= line.size() || line[pos] != u'"')
        return fail("日程内容应以双引号开始");
    const qsizetype close = line.indexOf(u'"', pos + 1);
    if (close < 0)
        return fail("日程内容缺少结尾的双引号");
    AgendaItem item;
    item.Content = line.sliced(pos + 1, close - pos - 1).toString();
    pos = close + 1;
    if (!readComma(line, pos) || pos >= line.size())
        return fail("缺少设置日期");
    const auto set = readDate(line, pos);
    if (!set)
        return fail("设置日期不是有效日期");
    if (!readComma(line, pos) || pos >= line.size())
        return fail("缺少完成日期");
    const auto finish = readDate(line, pos);
    if (!finish)
        return fail("完成日期不是有效日期");
    skipBlanks(line, pos);
    if (pos != line.size())
        return fail("完成日期之后有多余的内容");
    item.SetDate = *set;
    item.FinishDate = *finish;
    return item;
}

Load load(const TextFiles& files, const QString& path, QDate today)
{
    Load result;
    const TextFiles::Read read = files.read(path);
    if (read.status == TextFiles::Read::Missing) {
        result.ok = true;
        return result;
    }
    if (read.status == TextFiles::Read::Failed) {
        result.error = QStringLiteral("%1 无法读取：%2").arg(QFileInfo(path).fileName(), read.error);
        return result;
    }
    result.stamp = FileStamp::of(path, read.bytes);

    // Decoding the file at once is many times faster than line by line; only a file with bad
    // bytes is decoded again line by line to find the line to name.
    const std::optional<QString> whole = TextCodec::decode(read.bytes);
    if (!whole) {
        const QList<QByteArrayView> raw = TextCodec::splitLines(read.bytes);
        for (qsizetype i = 0; i < raw.size(); ++i) {
            if (!TextCodec::decode(raw[i])) {
                QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
                const QString asUtf8 = utf8.decode(raw[i]);
                result.error = failure(path, i + 1,
                                       utf8.hasError() || asUtf8.isEmpty()
                                           ? QStringLiteral("含有无法识别的字符")
                                           : QStringLiteral("文字是 UTF-8 编码，应为 GBK 编码"));
                return result;
            }
        }
        result.error = failure(path, raw.size(), QStringLiteral("含有无法识别的字符"));
        return result;
    }

    QList<AgendaItem> items;
    QStringView text(*whole);
    qsizetype start = 0, lineNumber = 0;
    QString reason;
    while (start < text.size()) {
        qsizetype end = text.indexOf(u'\n', start);
        const qsizetype next = end < 0 ? text.size() : end + 1;
        if (end < 0)
            end = text.size();
        qsizetype stop = end;
        if (stop > start && text[stop - 1] == u'\r')
            --stop;
        QStringView line = text.sliced(start, stop - start);
        start = next;
        ++lineNumber;
        if (isBlank(line))
            continue;
        std::optional<AgendaItem> item = parseRecord(line, &reason);
        if (!item) {
            result.error = failure(path, lineNumber, reason);
            return result;
        }
        item->DaysLeft = int(today.daysTo(item->FinishDate));
        items.append(std::move(*item));
    }
    result.ok = true;
    result.items = std::move(items);
    return result;
}

bool append(TextFiles& files, const QString& path, const AgendaItem& item, QString* error)
{
    const QByteArray record = formatRecord(item.Content, item.SetDate, item.FinishDate);
    if (record.isEmpty()) {
        TextCodec::encode(item.Content, error); // only to say why
        return false;
    }
    return files.append(path, record, error);
}

bool rewrite(TextFiles& files, const QString& path, const QList<AgendaItem>& items, QString* error)
{
    // The whole file as text first, encoded in one go: a converter per record costs more than the rest.
    QString text;
    text.reserve(items.size() * 40);
    for (const AgendaItem& item : items) {
        text.append(u'"');
        text.append(item.Content);
        text.append(QStringLiteral("\",#"));
        text.append(DateText::format(item.SetDate));
        text.append(QStringLiteral("#,#"));
        text.append(DateText::format(item.FinishDate));
        text.append(QStringLiteral("#\r\n"));
    }
    const std::optional<QByteArray> bytes = TextCodec::encode(text, error);
    return bytes && files.replace(path, *bytes, error);
}

} // namespace AgendaFile
