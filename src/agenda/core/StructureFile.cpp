#include "agenda/core/StructureFile.h"

#include "platform/files/TextCodec.h"
#include "platform/files/TextFiles.h"

#include <QFileInfo>

namespace StructureFile {

namespace {

// Reads "…" at the start of line into field and moves past it; false when there is none.
bool takeQuoted(QStringView& line, QString& field)
{
    if (!line.startsWith(u'"'))
        return false;
    const qsizetype close = line.indexOf(u'"', 1);
    if (close < 0)
        return false;
    field = line.sliced(1, close - 1).toString();
    line = line.sliced(close + 1);
    return true;
}

bool takeComma(QStringView& line)
{
    if (!line.startsWith(u','))
        return false;
    line = line.sliced(1);
    return true;
}

// One line into text and structure; what is wrong, or nothing.
std::optional<QString> parseLine(QStringView line, QString& text, ItemStructure& structure)
{
    line = line.trimmed();
    if (!takeQuoted(line, text))
        return QStringLiteral("日程内容应在双引号之间");
    if (!takeComma(line) || !takeQuoted(line, structure.parent))
        return QStringLiteral("父任务应在双引号之间（没有时写 \"\"）");
    if (!takeComma(line))
        return QStringLiteral("缺少优先级");
    const qsizetype end = line.indexOf(u',');
    const QStringView name = end < 0 ? line : line.first(end);
    const std::optional<ItemStructure::Priority> priority = ItemStructure::priorityNamed(name);
    if (!priority)
        return QStringLiteral("优先级“%1”应为 高、中、低 或 无").arg(name);
    structure.priority = *priority;
    line = line.sliced(name.size());
    while (!line.isEmpty()) {
        QString tag;
        if (!takeComma(line) || !takeQuoted(line, tag))
            return QStringLiteral("标签应在双引号之间，以逗号分开");
        structure.tags.append(tag);
    }
    return std::nullopt;
}

} // namespace

Load load(const TextFiles& files, const QString& path)
{
    Load result;
    const TextFiles::Read read = readForLoader(files, path);
    result.result = read ? Result::done() : read.result();
    if (!read || !*read)
        return result;
    result.stamp = FileStamp::of(path, **read);
    const QString name = QFileInfo(path).fileName();
    const std::optional<QString> text = TextCodec::decode(**read);
    if (!text) {
        result.result = Result::failed(QStringLiteral("%1 含有无法识别的字符，应为 GBK 编码").arg(name));
        return result;
    }
    Lines lines;
    int lineNumber = 0;
    std::optional<QString> why;
    TextCodec::forEachLine(QStringView(*text), [&](QStringView line) {
        ++lineNumber;
        if (line.trimmed().isEmpty())
            return true;
        QString itemText;
        ItemStructure structure;
        why = parseLine(line, itemText, structure);
        if (!why)
            lines.insert(itemText, structure);
        return !why;
    });
    if (why) {
        result.result =
            Result::failed(QStringLiteral("%1 第 %2 行无法读取：%3").arg(name).arg(lineNumber).arg(*why));
        return result;
    }
    result.lines = std::move(lines);
    return result;
}

Result rewrite(TextFiles& files, const QString& path, const QList<Entry>& entries)
{
    QString text;
    const auto quoted = [&text](const QString& field) { text += u'"' + field + u'"'; };
    for (const auto& [itemText, structure] : entries) {
        if (structure.isEmpty())
            continue;
        quoted(itemText);
        text += u',';
        quoted(structure.parent);
        text += u',' + ItemStructure::priorityName(structure.priority);
        for (const QString& tag : structure.tags) {
            text += u',';
            quoted(tag);
        }
        text += QLatin1String(TextCodec::lineEnd);
    }
    const ResultOf<QByteArray> bytes = TextCodec::encodeForWriting(text);
    return bytes ? files.replace(path, *bytes) : bytes.result();
}

} // namespace StructureFile
