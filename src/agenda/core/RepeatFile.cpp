#include "agenda/core/RepeatFile.h"

#include "platform/files/TextCodec.h"
#include "platform/files/TextFiles.h"

#include <QFileInfo>

namespace RepeatFile {

namespace {

// One line into text and rule; what is wrong, or nothing.
std::optional<QString> parseLine(QStringView line, QString& text, RepeatRule& rule)
{
    line = line.trimmed();
    if (!line.startsWith(u'"'))
        return QStringLiteral("日程内容应以双引号开始");
    const qsizetype close = line.indexOf(u'"', 1);
    if (close < 0)
        return QStringLiteral("日程内容缺少结尾的双引号");
    text = line.sliced(1, close - 1).toString();
    const QStringView rest = line.sliced(close + 1).trimmed();
    if (!rest.startsWith(u','))
        return QStringLiteral("缺少重复方式");
    const QList<QStringView> fields = rest.sliced(1).split(u',');
    if (fields.size() > 2)
        return QStringLiteral("重复方式之后有多余的内容");
    const std::optional<RepeatRule> read =
        RepeatRule::fromFields(fields[0].trimmed(), fields.size() > 1 ? fields[1].trimmed() : QStringView());
    if (!read)
        return QStringLiteral("重复方式“%1”无法读取").arg(rest.sliced(1).trimmed());
    rule = *read;
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
    Rules rules;
    int lineNumber = 0;
    std::optional<QString> why;
    TextCodec::forEachLine(QStringView(*text), [&](QStringView line) {
        ++lineNumber;
        if (line.trimmed().isEmpty())
            return true;
        QString itemText;
        RepeatRule rule;
        why = parseLine(line, itemText, rule);
        if (!why)
            rules.insert(itemText, rule);
        return !why;
    });
    if (why) {
        result.result =
            Result::failed(QStringLiteral("%1 第 %2 行无法读取：%3").arg(name).arg(lineNumber).arg(*why));
        return result;
    }
    result.rules = std::move(rules);
    return result;
}

Result rewrite(TextFiles& files, const QString& path, const QList<AgendaItem>& items)
{
    QString text;
    for (const AgendaItem& item : items) {
        if (item.repeat.kind == RepeatRule::None)
            continue;
        text += u'"' + item.text + QStringLiteral("\",") + RepeatRule::kindName(item.repeat.kind);
        if (const QString day = item.repeat.dayField(); !day.isEmpty())
            text += u',' + day;
        text += QLatin1String(TextCodec::lineEnd);
    }
    const ResultOf<QByteArray> bytes = TextCodec::encodeForWriting(text);
    return bytes ? files.replace(path, *bytes) : bytes.result();
}

} // namespace RepeatFile
