#include "agenda/core/AgendaStore.h"
#include "sync/core/Multistatus.h"
#include "sync/core/SyncMerge.h"
#include "sync/core/TaskCodec.h"

#include <QSet>

#include <cstdint>

// What a server sends, into the merge: a multistatus answer, or the bytes as one task's iCalendar
// text. Nothing the agenda cannot hold gets into it, and what does comes back unchanged when it
// is written and read again (a recurring one aside: see below).
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QDate today(2026, 12, 7);
    QList<ServerTask> server;
    const ResultOf<Multistatus::Answer> answer = Multistatus::read(bytes);
    for (const Multistatus::Response& response : answer ? answer->responses : QList<Multistatus::Response>())
        server.append({response.href, response.etag, response.calendarData, {}, {}, true, false, {}, {}});
    server.append({QStringLiteral("/raw.ics"), "\"r\"", bytes, {}, {}, true, false, {}, {}});
    for (ServerTask& task : server) {
        TaskCodec::read(task, today, today);
        if (!task.readable || !AgendaStore::checkText(task.values.text) ||
            taskText(task.values.text).isEmpty())
            continue;
        if (!task.values.set.isValid() || !task.values.finish.isValid())
            __builtin_trap();
        // A recurring task is its next occurrence; written back, the series starts there.
        if (task.recurring)
            continue;
        ServerTask again = task;
        again.ics =
            TaskCodec::write(task.ics, task.uid, task.values, task.open, QDateTime(today, QTime(9, 0)));
        TaskCodec::read(again, today, today);
        if (!again.readable || again.values != task.values)
            __builtin_trap();
    }
    const QList<AgendaItem> local{{QStringLiteral("买牛奶"), today, today, 0}};
    const QList<SyncEntry> base{{QStringLiteral("a"),
                                 QStringLiteral("/u/tasks/a.ics"),
                                 "\"0\"",
                                 {QStringLiteral("买牛奶"), today, today}}};
    int uid = 0;
    const SyncPlan plan = SyncMerge::plan(
        base, local, server, {}, today, [&uid] { return QString::number(++uid); },
        [](const QString& id) { return id + QStringLiteral(".ics"); });
    QSet<QString> texts;
    for (const AgendaItem& item : plan.items) {
        if (!AgendaStore::checkText(item.text) || texts.contains(item.text))
            __builtin_trap();
        texts.insert(item.text);
    }
    return 0;
}
