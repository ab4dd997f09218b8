#include "agenda/core/StructureFile.h"

#include "platform/files/TextCodec.h"
#include "platform/files/TextFiles.h"

#include <QFileInfo>

namespace StructureFile {

namespace {

// A line is read from the file's bytes, as agenda.txt's records are: a quote or a comma is never
// part of a GB18030 character, so each quoted field is found first and decoded alone.
using Bytes = QByteArrayView;

// Reads "…" at the start of line into field and moves past it; false when there is none or its
// bytes do not decode (bad says so).
bool takeQuoted(Bytes& line, QString& field, bool& bad)
{
    if (!line.startsWith('"'))
        return false;
    const qsizetype close = line.indexOf('"', 1);
    if (close < 0)
        return false;
    std::optional<QString> decoded = TextCodec::decode(line.sliced(1, close - 1));
    if (!decoded) {
        bad = true;
        return false;
    }
    field = std::move(*decoded);
    line = line.sliced(close + 1);
    return true;
}

bool takeComma(Bytes& line)
{
    if (!line.startsWith(','))
        return false;
    line = line.sliced(1);
    return true;
}

// The parent last read, so that siblings share one string.
struct LastParent
{
    Bytes bytes;
    QString text;
};

// One line into its text's bytes and its structure; what is wrong, or nothing.
std::optional<QString> parseLine(Bytes line, QString& text, ItemStructure& structure, LastParent& last)
{
    line = line.trimmed();
    bool bad = false;
    const auto why = [&bad](const char* wanted) {
        return bad ? QStringLiteral("含有无法识别的字符，应为 GBK 编码") : QString::fromUtf8(wanted);
    };
    if (!takeQuoted(line, text, bad))
        return why("日程内容应在双引号之间");
    if (!takeComma(line))
        return why("父任务应在双引号之间（没有时写 \"\"）");
    const qsizetype parentEnd = line.startsWith('"') ? line.indexOf('"', 1) : -1;
    if (parentEnd >= 0 && line.sliced(1, parentEnd - 1) == last.bytes) {
        structure.parent = last.text;
        line = line.sliced(parentEnd + 1);
    } else {
        const Bytes parentBytes = parentEnd >= 0 ? line.sliced(1, parentEnd - 1) : Bytes();
        if (!takeQuoted(line, structure.parent, bad))
            return why("父任务应在双引号之间（没有时写 \"\"）");
        last = {parentBytes, structure.parent};
    }
    if (!takeComma(line))
        return why("缺少优先级");
    const qsizetype end = line.indexOf(',');
    const Bytes nameBytes = end < 0 ? line : line.first(end);
    const QString name = TextCodec::decode(nameBytes).value_or(QString());
    const std::optional<ItemStructure::Priority> priority = ItemStructure::priorityNamed(name);
    if (!priority)
        return QStringLiteral("优先级“%1”应为 高、中、低 或 无").arg(name);
    structure.priority = *priority;
    line = line.sliced(nameBytes.size());
    while (!line.isEmpty()) {
        QString tag;
        if (!takeComma(line) || !takeQuoted(line, tag, bad))
            return why("标签应在双引号之间，以逗号分开");
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
    QList<Load::Line> lines;
    int lineNumber = 0;
    std::optional<QString> why;
    LastParent last;
    TextCodec::forEachLine(Bytes(**read), [&](Bytes line) {
        ++lineNumber;
        if (line.trimmed().isEmpty())
            return true;
        Load::Line read;
        why = parseLine(line, read.text, read.structure, last);
        if (!why)
            lines.append(std::move(read));
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

QHash<QString, ItemStructure> apply(Load& load, QList<AgendaItem>& items)
{
    QList<Load::Line>& lines = load.lines;
    QList<bool> used(lines.size(), false);
    qsizetype next = 0, matched = 0;
    for (AgendaItem& item : items) {
        if (next < lines.size() && lines[next].text == item.text) {
            item.structure = lines[next].structure;
            used[next++] = true;
            ++matched;
        }
    }
    if (matched == lines.size())
        return {};
    // Lines out of the agenda's order (a hand edit) or of items gone: found by text.
    QHash<QString, qsizetype> rest;
    for (qsizetype k = 0; k < lines.size(); ++k)
        if (!used[k] && !rest.contains(lines[k].text))
            rest.insert(lines[k].text, k);
    for (AgendaItem& item : items) {
        if (!item.structure.isEmpty())
            continue;
        if (const auto found = rest.constFind(item.text); found != rest.cend()) {
            item.structure = lines[*found].structure;
            used[*found] = true;
        }
    }
    QHash<QString, ItemStructure> gone;
    for (auto line = rest.cbegin(); line != rest.cend(); ++line)
        if (!used[*line])
            gone.insert(line.key(), lines[*line].structure);
    return gone;
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
