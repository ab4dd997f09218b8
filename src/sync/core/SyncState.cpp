#include "sync/core/SyncState.h"

#include "calendar/core/DateText.h"
#include "platform/files/TextFiles.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

// The file's JSON object; none for a missing file.
ResultOf<std::optional<QJsonObject>> rootOf(const TextFiles& files, const QString& path)
{
    const TextFiles::Read read = readForLoader(files, path);
    if (!read)
        return read.result();
    if (!*read)
        return std::optional<QJsonObject>();
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(**read, &error);
    if (!document.isObject())
        return Result::failed(QStringLiteral("%1 已损坏（%2），请用 kestrin --caldav off 断开后重新连接")
                                  .arg(QFileInfo(path).fileName(), error.errorString()));
    return std::optional<QJsonObject>(document.object());
}

void readLink(const QJsonObject& root, SyncState& state)
{
    state.url = QUrl(root.value(QStringLiteral("url")).toString());
    state.user = root.value(QStringLiteral("user")).toString();
    state.basicAuth = root.value(QStringLiteral("auth")).toString() == QStringLiteral("basic");
}

} // namespace

SyncState SyncState::linkIn(const TextFiles& files, const QString& path)
{
    SyncState state;
    if (const auto root = rootOf(files, path); root && *root)
        readLink(**root, state);
    return state;
}

ResultOf<SyncState> SyncState::load(const TextFiles& files, const QString& path)
{
    SyncState state;
    const auto found = rootOf(files, path);
    if (!found)
        return found.result();
    if (!*found)
        return state;
    const QString name = QFileInfo(path).fileName();
    const QJsonObject& root = **found;
    readLink(root, state);
    const bool knowsStructure = root.value(QStringLiteral("structure")).toBool();
    state.token = knowsStructure ? root.value(QStringLiteral("token")).toString() : QString();
    for (const QJsonValue& href : root.value(QStringLiteral("pending")).toArray())
        state.pending.append(href.toString());
    state.lastSuccess =
        QDateTime::fromString(root.value(QStringLiteral("lastSuccess")).toString(), Qt::ISODate);
    for (const QJsonValue& value : root.value(QStringLiteral("entries")).toArray()) {
        const QJsonObject o = value.toObject();
        SyncEntry entry{o.value(QStringLiteral("uid")).toString(),
                        o.value(QStringLiteral("href")).toString(),
                        o.value(QStringLiteral("etag")).toString().toUtf8(),
                        {o.value(QStringLiteral("text")).toString(),
                         DateText::read(o.value(QStringLiteral("set")).toString()),
                         DateText::read(o.value(QStringLiteral("finish")).toString())},
                        o.value(QStringLiteral("open")).toBool(true)};
        // A file from before times held the phone's due time apart ("due"): not agreed as an
        // item's time, so the next sync brings it into the agenda.
        entry.values.time = DateText::readTime(o.value(QStringLiteral("time")).toString());
        // The rule as agreed, in repeat.txt's words; a word this version does not know is none.
        if (const QString kind = o.value(QStringLiteral("repeat")).toString(); !kind.isEmpty())
            entry.values.repeat =
                RepeatRule::fromFields(kind, o.value(QStringLiteral("repeatDay")).toString())
                    .value_or(RepeatRule{});
        entry.values.structure.parent = o.value(QStringLiteral("parent")).toString();
        entry.values.structure.priority =
            ItemStructure::priorityNamed(o.value(QStringLiteral("priority")).toString())
                .value_or(ItemStructure::NoPriority);
        for (const QJsonValue& tag : o.value(QStringLiteral("tags")).toArray())
            entry.values.structure.tags.append(tag.toString());
        // A file from before structures agreed none: the tasks are read again whole and what a
        // phone gave them comes down, as a change there would.
        if (!knowsStructure)
            entry.etag.clear();
        if (entry.uid.isEmpty() || entry.href.isEmpty() || !entry.values.set.isValid() ||
            !entry.values.finish.isValid())
            return ResultOf<SyncState>::failed(
                QStringLiteral("%1 已损坏（第 %2 项不完整），请用 kestrin --caldav off 断开后重新连接")
                    .arg(name)
                    .arg(state.entries.size() + 1));
        state.entries.append(entry);
    }
    if (!state.url.isValid() || state.url.isRelative())
        return ResultOf<SyncState>::failed(QStringLiteral("%1 已损坏（没有服务器地址）").arg(name));
    return state;
}

Result SyncState::save(TextFiles& files, const QString& path) const
{
    QJsonArray entryList;
    for (const SyncEntry& entry : entries) {
        QJsonObject o{{QStringLiteral("uid"), entry.uid},
                      {QStringLiteral("href"), entry.href},
                      {QStringLiteral("etag"), QString::fromUtf8(entry.etag)},
                      {QStringLiteral("text"), entry.values.text},
                      {QStringLiteral("set"), DateText::format(entry.values.set)},
                      {QStringLiteral("finish"), DateText::format(entry.values.finish)}};
        if (!entry.open)
            o.insert(QStringLiteral("open"), false);
        if (const RepeatRule& rule = entry.values.repeat; rule.kind != RepeatRule::None) {
            o.insert(QStringLiteral("repeat"), RepeatRule::kindName(rule.kind));
            if (const QString day = rule.dayField(); !day.isEmpty())
                o.insert(QStringLiteral("repeatDay"), day);
        }
        if (entry.values.time.isValid())
            o.insert(QStringLiteral("time"), entry.values.time.toString(QStringLiteral("HH:mm:ss")));
        const ItemStructure& structure = entry.values.structure;
        if (!structure.parent.isEmpty())
            o.insert(QStringLiteral("parent"), structure.parent);
        if (structure.priority != ItemStructure::NoPriority)
            o.insert(QStringLiteral("priority"), ItemStructure::priorityName(structure.priority));
        if (!structure.tags.isEmpty())
            o.insert(QStringLiteral("tags"), QJsonArray::fromStringList(structure.tags));
        entryList.append(o);
    }
    const QJsonObject root{{QStringLiteral("url"), url.toString()},
                           {QStringLiteral("user"), user},
                           {QStringLiteral("auth"), basicAuth ? QStringLiteral("basic") : QString()},
                           {QStringLiteral("token"), token},
                           {QStringLiteral("pending"), QJsonArray::fromStringList(pending)},
                           {QStringLiteral("lastSuccess"), lastSuccess.toString(Qt::ISODateWithMs)},
                           {QStringLiteral("structure"), true},
                           {QStringLiteral("entries"), entryList}};
    return files.replace(path, QJsonDocument(root).toJson(QJsonDocument::Indented));
}
