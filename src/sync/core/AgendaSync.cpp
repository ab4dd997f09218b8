#include "sync/core/AgendaSync.h"

#include "sync/core/CalDavClient.h"
#include "sync/core/SyncMerge.h"
#include "sync/core/TaskCodec.h"
#include "sync/schedule/SyncRenames.h"

#include "agenda/core/AgendaFile.h"
#include "agenda/core/AgendaStore.h"
#include "log/core/LogFile.h"
#include "log/core/LogStore.h"
#include "platform/Clock.h"

#include <QDir>
#include <QHash>
#include <QSet>
#include <QUuid>

namespace {

// A 412 means the task changed between our reading and our writing: read again and decide again,
// a few times, before giving up until the next sync.
constexpr int maxPasses = 3;

// Statuses of a PUT that speak of the one task written (its content, its size, a clash with
// another task), not of the list or the account.
bool refusesThisTaskOnly(int status)
{
    return status == 400 || status == 403 || status == 409 || status == 413 || status == 415 || status == 422;
}

} // namespace

AgendaSync::AgendaSync(TextFiles& files, const Clock& clock, const QString& dir, CalDavClient& client)
    : m_files(files), m_clock(clock), m_dir(dir), m_client(client)
{
}

QString AgendaSync::statePath() const
{
    return QDir(m_dir).filePath(QString::fromUtf8(SyncState::fileName));
}

QString AgendaSync::Report::text() const
{
    if (!error.isEmpty())
        return QStringLiteral("同步失败：") + error;
    QString text = QStringLiteral("同步完成：上传 %1 条，下载 %2 条，完成 %3 条，冲突 %4 条")
                       .arg(uploaded)
                       .arg(downloaded)
                       .arg(completed)
                       .arg(conflicts);
    for (const QString& task : skipped)
        text += QStringLiteral("\n未同步：") + task;
    return text;
}

AgendaSync::Report AgendaSync::run(SyncState& state)
{
    Report report;
    for (int i = 0; i < maxPasses; ++i) {
        bool retry = false;
        if (pass(state, report, retry) || !retry)
            return report;
    }
    report.error = QStringLiteral("任务在同步时一再被别处修改，下次同步再试");
    return report;
}

bool AgendaSync::pass(SyncState& state, Report& report, bool& retry)
{
    report = Report{{}, 0, 0, 0, 0, {}, report.requests};
    const QDate today = m_clock.today();
    const QDir dir(m_dir);
    AgendaStore agenda(m_files, dir.filePath(QString::fromUtf8(AgendaFile::fileName)),
                       dir.filePath(QString::fromUtf8(LogFile::fileName)));
    if (const Result loaded = agenda.load(today); !loaded) {
        report.error = loaded.error();
        return false;
    }
    LogStore log(m_files, dir.filePath(QString::fromUtf8(LogFile::fileName)));
    if (const LogFile::Load& lines = log.load(); !lines.result) {
        report.error = lines.result.error();
        return false;
    }

    ++report.requests;
    CalDavClient::Changes changes = m_client.changesSince(state.token);
    if (!changes.error.isEmpty()) {
        report.error = changes.error;
        return false;
    }
    QHash<QString, const SyncEntry*> known;
    for (const SyncEntry& entry : std::as_const(state.entries))
        known.insert(entry.href, &entry);
    // Many servers list hrefs and ETags alone: the bodies of what is new or changed are read
    // after, with what could not be read last time.
    QStringList toRead;
    QHash<QString, qsizetype> listed;
    for (const ServerTask& task : std::as_const(changes.changed)) {
        listed.insert(task.href, &task - changes.changed.constData());
        const SyncEntry* entry = known.value(task.href);
        if (task.ics.isEmpty() && !(entry && !task.etag.isEmpty() && entry->etag == task.etag &&
                                    !state.pending.contains(task.href)))
            toRead.append(task.href);
    }
    for (const QString& href : std::as_const(state.pending))
        if (!toRead.contains(href) && !changes.gone.contains(href) &&
            (!listed.contains(href) || changes.changed[listed[href]].ics.isEmpty()))
            toRead.append(href);
    CalDavClient::Bodies bodies;
    if (!toRead.isEmpty()) {
        report.requests += int((toRead.size() + CalDavClient::batchSize - 1) / CalDavClient::batchSize);
        bodies = m_client.fetch(toRead);
        // Nothing new could be read: no sync to speak of. Tasks that failed before and fail again
        // are named, and hold back nothing else.
        const bool fresh = std::any_of(toRead.cbegin(), toRead.cend(), [&state](const QString& href) {
            return !state.pending.contains(href);
        });
        if (fresh && bodies.read.isEmpty() && bodies.gone.isEmpty()) {
            report.error =
                QStringLiteral("无法读取服务器上有变动的任务（%1）").arg(bodies.unread.cbegin().value());
            return false;
        }
        changes.gone += bodies.gone;
    }

    // The task list now: what the last sync left, with what changed since.
    QList<ServerTask> server;
    QSet<QString> seen;
    const auto addRead = [&](ServerTask task) {
        seen.insert(task.href);
        if (const auto unread = bodies.unread.constFind(task.href); unread != bodies.unread.cend()) {
            task.problem = QStringLiteral("这次没能读到它（%1），下次同步再试").arg(unread.value());
        } else if (const auto body = bodies.read.constFind(task.href); body != bodies.read.cend()) {
            task.ics = body->ics;
            if (!body->etag.isEmpty())
                task.etag = body->etag;
        } else if (task.ics.isEmpty()) {
            // Listed with the ETag last synced: as it was.
            const SyncEntry* entry = known.value(task.href);
            server.append(
                {entry->href, entry->etag, {}, entry->uid, entry->values, entry->open, false, {}, {}});
            return;
        }
        server.append(task);
        if (task.problem.isEmpty())
            TaskCodec::read(server.last(), today, today);
    };
    for (const ServerTask& task : std::as_const(changes.changed))
        if (!changes.gone.contains(task.href))
            addRead(task);
    for (const QString& href : std::as_const(toRead))
        if (!seen.contains(href) && !changes.gone.contains(href))
            addRead({href,
                     known.contains(href) ? known[href]->etag : QByteArray(),
                     {},
                     {},
                     {},
                     true,
                     false,
                     {},
                     {}});
    if (!changes.whole) {
        for (const SyncEntry& entry : std::as_const(state.entries)) {
            if (seen.contains(entry.href) || changes.gone.contains(entry.href))
                continue;
            server.append({entry.href, entry.etag, {}, entry.uid, entry.values, entry.open, false, {}, {}});
        }
    }

    const SyncRenames::Read renames =
        SyncRenames::read(m_files, dir.filePath(QString::fromUtf8(SyncRenames::fileName)));
    SyncPlan plan = SyncMerge::plan(
        state.entries, agenda.table().items, server, renames.renames, today,
        [] { return QUuid::createUuid().toString(QUuid::WithoutBraces); },
        [this](const QString& uid) { return m_client.hrefFor(uid); });

    if (!plan.conflictEntries.isEmpty()) {
        if (const StoreChange archived = log.append(plan.conflictEntries);
            archived.status != StoreChange::Done) {
            report.error = archived.message;
            return false;
        }
    }
    const QDateTime now = m_clock.now();
    int uploaded = 0, completed = 0;
    for (SyncPlan::Upload& upload : plan.uploads) {
        if (!upload.ifMatch.isEmpty() && upload.previous.isEmpty()) {
            // An update keeps what the agenda does not hold (alarms, notes, categories): fetch it.
            ++report.requests;
            const DavReply got = m_client.get(upload.href);
            if (got.ok() && got.etag != upload.ifMatch && !got.etag.isEmpty()) {
                retry = true;
                return false;
            }
            if (!got.ok()) {
                report.error = CalDavClient::failure(got);
                retry = got.status == 404;
                return false;
            }
            upload.previous = got.body;
        }
        ++report.requests;
        const DavReply put =
            m_client.put(upload.href,
                         TaskCodec::write(upload.previous, upload.uid, upload.values, upload.open, now,
                                          upload.unchanged ? &upload.unchanged->values : nullptr),
                         upload.ifMatch);
        if (put.status == 412) {
            retry = true;
            return false;
        }
        if (refusesThisTaskOnly(put.status)) {
            // One task the server will not take never holds back the others: it is named, and
            // tried again next time.
            report.skipped.append(
                QStringLiteral("“%1”：服务器拒绝了它（HTTP %2）").arg(upload.values.text).arg(put.status));
            if (upload.unchanged)
                plan.entries.append(*upload.unchanged);
            continue;
        }
        if (!put.ok()) {
            report.error = CalDavClient::failure(put);
            return false;
        }
        plan.entries.append({upload.uid, upload.href, put.etag, upload.values, upload.open});
        ++uploaded;
        if (upload.completes)
            ++completed;
    }

    if (plan.agendaChanged) {
        // A sync cut short after my.log and before agenda.txt wrote these entries already.
        const QStringList logged = log.lines().texts();
        plan.removalEntries.removeIf([&logged](const QString& entry) { return logged.contains(entry); });
        const StoreChange written = agenda.replaceAll(plan.items, plan.removalEntries);
        if (written.status != StoreChange::Done) {
            report.error = written.message;
            return false;
        }
    }
    state.token = changes.token;
    state.pending = bodies.unread.keys();
    state.pending.sort();
    state.entries = plan.entries;
    state.lastSuccess = now;
    if (const Result saved = state.save(m_files, statePath()); !saved) {
        report.error =
            QStringLiteral("%1 无法写入（%2）").arg(QString::fromUtf8(SyncState::fileName), saved.error());
        return false;
    }
    SyncRenames::clear(m_files, dir.filePath(QString::fromUtf8(SyncRenames::fileName)), renames.bytes);
    report.uploaded = uploaded;
    report.downloaded = plan.downloaded;
    report.completed = plan.completed + completed;
    report.conflicts = plan.conflicts;
    report.skipped = plan.skipped + report.skipped;
    return true;
}
