#include "sync/schedule/SyncRenames.h"

#include "platform/files/TextFiles.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

namespace SyncRenames {

Result record(TextFiles& files, const QString& path, const QString& oldText, const QString& newText)
{
    const QJsonObject line{{QStringLiteral("from"), oldText}, {QStringLiteral("to"), newText}};
    // Not while a sync is clearing the file: the rename would go with what it clears.
    const auto hold = files.holdFolderOf(path);
    if (!hold)
        return Result::failed(QStringLiteral("数据文件夹正被占用"));
    return files.append(path, QJsonDocument(line).toJson(QJsonDocument::Compact) + '\n');
}

Read read(const TextFiles& files, const QString& path)
{
    Read result;
    const TextFiles::Read read = files.read(path);
    if (!read || !*read)
        return result;
    result.bytes = **read;
    for (const QByteArray& line : result.bytes.split('\n')) {
        const QJsonObject o = QJsonDocument::fromJson(line).object();
        const QString from = o.value(QStringLiteral("from")).toString();
        const QString to = o.value(QStringLiteral("to")).toString();
        // A line cut short by a crash is no rename: the item is then completed and made anew.
        if (!from.isEmpty() && !to.isEmpty() && from != to)
            result.renames.insert(from, to);
    }
    return result;
}

QString follow(const QHash<QString, QString>& renames, const QString& oldText)
{
    QString text = oldText;
    // Bounded: renames that go round (a to b, b to a) end where they began.
    for (qsizetype i = 0; i < renames.size() && renames.contains(text); ++i)
        text = renames.value(text);
    return text;
}

void clear(TextFiles& files, const QString& path, const QByteArray& bytes)
{
    const auto hold = files.holdFolderOf(path);
    if (!hold)
        return; // the renames stay for the next sync, which follows them again
    const TextFiles::Read now = files.read(path);
    if (now && *now == bytes)
        QFile::remove(path);
}

} // namespace SyncRenames
