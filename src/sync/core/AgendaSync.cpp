#include "sync/core/AgendaSync.h"

#include "sync/core/CalDavClient.h"
#include "sync/core/SyncMerge.h"
#include "sync/core/TaskCodec.h"
#include "sync/core/TaskStructure.h"
#include "sync/schedule/SyncRenames.h"

#include "agenda/core/AgendaFile.h"
#include "agenda/core/AgendaStore.h"
#include "calendar/core/HolidayFile.h"
#include "log/core/LogFile.h"
#include "log/core/LogStore.h"
#include "platform/Clock.h"
#include "platform/files/TextFiles.h"

#include <QDir>
#include <QFile>
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

const QString changedMeanwhile = QStringLiteral("任务在同步时一再被别处修改，下次同步再试");

} // namespace

// What one pass has read and decided so far.
struct AgendaSync::Pass
{
    Pass(TextFiles& files, const QDir& dir, QDate today)
        : today(today), agenda(files, dir.filePath(QString::fromUtf8(AgendaFile::fileName)),
                               dir.filePath(QString::fromUtf8(LogFile::fileName))),
          log(files, dir.filePath(QString::fromUtf8(LogFile::fileName))),
          renamesPath(dir.filePath(QString::fromUtf8(SyncRenames::fileName)))
    {
    }

    QDate today;
    AgendaStore agenda;
    LogStore log;
    QString renamesPath;
    CalDavClient::Changes changes;
    QHash<QString, const SyncEntry*> known; // the last sync's entries by href
    QStringList toRead;                     // hrefs whose bodies are read after the listing
    CalDavClient::Bodies bodies;
    QList<ServerTask> server; // the task list now
    SyncRenames::Read renames;
    SyncPlan plan;
    Report report;
    int uploaded = 0, completed = 0;
    bool again = false; // a task changed on the server meanwhile: the pass is to be made anew
};

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
    if (!result)
        return QStringLiteral("同步失败：") + result.error();
    QString text = QStringLiteral("同步完成：上传 %1 条，下载 %2 条，完成 %3 条，冲突 %4 条")
                       .arg(uploaded)
                       .arg(downloaded)
                       .arg(completed)
                       .arg(conflicts);
    if (notTasks > 0)
        text += QStringLiteral("\n日历中另有 %1 个日程事件未同步，这是正常的").arg(notTasks);
    for (const QString& task : skipped)
        text += QStringLiteral("\n未同步：") + task;
    return text;
}

AgendaSync::Report AgendaSync::run(SyncState& state)
{
    int requests = 0;
    for (int i = 0; i < maxPasses; ++i) {
        Pass pass(m_files, QDir(m_dir), m_clock.today());
        pass.report.requests = requests;
        pass.report.result = syncOnce(state, pass);
        if (pass.report.result || !pass.again)
            return pass.report;
        requests = pass.report.requests;
    }
    Report report;
    report.result = Result::failed(changedMeanwhile);
    report.requests = requests;
    return report;
}

Result AgendaSync::syncOnce(SyncState& state, Pass& pass)
{
    if (Result step = readFiles(pass); !step)
        return step;
    if (Result step = readServer(state, pass); !step)
        return step;
    if (Result step = readBodies(state, pass); !step)
        return step;
    gatherTasks(state, pass);
    plan(state, pass);
    if (Result step = archive(pass); !step)
        return step;
    if (Result step = upload(pass); !step)
        return step;
    if (Result step = writeAgenda(pass); !step)
        return step;
    return saveState(state, pass);
}

Result AgendaSync::readFiles(Pass& pass)
{
    if (Result loaded = pass.agenda.load(pass.today); !loaded)
        return loaded;
    return pass.log.load().result;
}

Result AgendaSync::readServer(const SyncState& state, Pass& pass)
{
    ++pass.report.requests;
    ResultOf<CalDavClient::Changes> changes = m_client.changesSince(state.token);
    if (!changes)
        return changes.result();
    pass.changes = std::move(*changes);
    for (const SyncEntry& entry : std::as_const(state.entries))
        pass.known.insert(entry.href, &entry);
    // Many servers list hrefs and ETags alone: the bodies of what is new or changed are read
    // after, with what could not be read last time.
    QHash<QString, qsizetype> listed;
    const QList<ServerTask>& changed = pass.changes.changed;
    for (qsizetype i = 0; i < changed.size(); ++i) {
        const ServerTask& task = changed[i];
        listed.insert(task.href, i);
        const SyncEntry* entry = pass.known.value(task.href);
        if (task.ics.isEmpty() && !(entry && !task.etag.isEmpty() && entry->etag == task.etag &&
                                    !state.pending.contains(task.href)))
            pass.toRead.append(task.href);
    }
    for (const QString& href : std::as_const(state.pending))
        if (!pass.toRead.contains(href) && !pass.changes.gone.contains(href) &&
            (!listed.contains(href) || changed[listed[href]].ics.isEmpty()))
            pass.toRead.append(href);
    return Result::done();
}

Result AgendaSync::readBodies(const SyncState& state, Pass& pass)
{
    if (pass.toRead.isEmpty())
        return Result::done();
    pass.report.requests += int((pass.toRead.size() + CalDavClient::batchSize - 1) / CalDavClient::batchSize);
    pass.bodies = m_client.fetch(pass.toRead);
    // Nothing new could be read: no sync to speak of. Tasks that failed before and fail again
    // are named, and hold back nothing else.
    const bool fresh = std::any_of(pass.toRead.cbegin(), pass.toRead.cend(),
                                   [&state](const QString& href) { return !state.pending.contains(href); });
    if (fresh && pass.bodies.read.isEmpty() && pass.bodies.gone.isEmpty())
        return Result::failed(
            QStringLiteral("无法读取服务器上有变动的任务（%1）").arg(pass.bodies.unread.cbegin().value()));
    pass.changes.gone += pass.bodies.gone;
    return Result::done();
}

void AgendaSync::gatherTasks(const SyncState& state, Pass& pass)
{
    // The task list now: what the last sync left, with what changed since.
    const CalDavClient::Changes& changes = pass.changes;
    const CalDavClient::Bodies& bodies = pass.bodies;
    QList<ServerTask>& server = pass.server;
    QSet<QString> seen;
    int notTasks = changes.notTasks;
    const auto asLastSynced = [](const SyncEntry& entry) {
        return ServerTask{entry.href, entry.etag, {}, entry.uid, entry.values, entry.open, false, {}, {}};
    };
    const auto addRead = [&](ServerTask task) {
        seen.insert(task.href);
        if (const auto unread = bodies.unread.constFind(task.href); unread != bodies.unread.cend()) {
            task.readable =
                Result::failed(QStringLiteral("这次没能读到它（%1），下次同步再试").arg(unread.value()));
        } else if (const auto body = bodies.read.constFind(task.href); body != bodies.read.cend()) {
            task.ics = body->ics;
            if (!body->etag.isEmpty())
                task.etag = body->etag;
        } else if (task.ics.isEmpty()) {
            // Listed with the ETag last synced: as it was.
            server.append(asLastSynced(*pass.known.value(task.href)));
            return;
        }
        server.append(task);
        if (task.readable.ok())
            TaskCodec::read(server.last(), pass.today, pass.today);
        if (server.last().notATask) {
            server.removeLast();
            ++notTasks;
        }
    };
    for (const ServerTask& task : changes.changed)
        if (!changes.gone.contains(task.href))
            addRead(task);
    for (const QString& href : std::as_const(pass.toRead))
        if (!seen.contains(href) && !changes.gone.contains(href))
            addRead({href,
                     pass.known.contains(href) ? pass.known[href]->etag : QByteArray(),
                     {},
                     {},
                     {},
                     true,
                     false,
                     {},
                     {}});
    if (!changes.whole)
        for (const SyncEntry& entry : state.entries)
            if (!seen.contains(entry.href) && !changes.gone.contains(entry.href))
                server.append(asLastSynced(entry));
    TaskStructure::findParents(server);
    // Said once, so that a calendar shared with events is not taken for a broken list.
    if (!state.lastSuccess.isValid())
        pass.report.notTasks = notTasks;
}

void AgendaSync::plan(const SyncState& state, Pass& pass)
{
    pass.renames = SyncRenames::read(m_files, pass.renamesPath);
    pass.plan = SyncMerge::plan(
        state.entries, pass.agenda.table().items, pass.server, pass.renames.renames, pass.today,
        [] { return QUuid::createUuid().toString(QUuid::WithoutBraces); },
        [this](const QString& uid) { return m_client.hrefFor(uid); },
        HolidayFile::loadOrShipped(m_files, m_dir));
}

Result AgendaSync::archive(Pass& pass)
{
    if (pass.plan.conflictEntries.isEmpty())
        return Result::done();
    const StoreChange archived = pass.log.append(pass.plan.conflictEntries);
    return archived.status == StoreChange::Done ? Result::done() : Result::failed(archived.message);
}

Result AgendaSync::upload(Pass& pass)
{
    const QDateTime now = m_clock.now();
    SyncPlan& plan = pass.plan;
    for (SyncPlan::Upload& upload : plan.uploads) {
        if (!upload.ifMatch.isEmpty() && upload.previous.isEmpty()) {
            // An update keeps what the agenda does not hold (alarms, notes, categories): fetch it.
            ++pass.report.requests;
            const ResultOf<DavReply> got = m_client.get(upload.href);
            if (!got)
                return got.result();
            if (got->ok() && got->etag != upload.ifMatch && !got->etag.isEmpty()) {
                pass.again = true;
                return Result::failed(changedMeanwhile);
            }
            if (!got->ok()) {
                pass.again = got->status == 404;
                return Result::failed(CalDavClient::failure(*got));
            }
            upload.previous = got->body;
        }
        ++pass.report.requests;
        const ResultOf<DavReply> sent = m_client.put(
            upload.href,
            TaskCodec::write(upload.previous, upload.uid, upload.values, upload.open, now,
                             upload.unchanged ? &upload.unchanged->values : nullptr, upload.parentUid),
            upload.ifMatch);
        if (!sent)
            return sent.result();
        const DavReply& put = *sent;
        if (put.status == 412) {
            pass.again = true;
            return Result::failed(changedMeanwhile);
        }
        if (refusesThisTaskOnly(put.status)) {
            // One task the server will not take never holds back the others: it is named, and
            // tried again next time.
            pass.report.skipped.append(
                QStringLiteral("“%1”：服务器拒绝了它（HTTP %2）").arg(upload.values.text).arg(put.status));
            if (upload.unchanged)
                plan.entries.append(*upload.unchanged);
            continue;
        }
        if (!put.ok())
            return Result::failed(CalDavClient::failure(put));
        plan.entries.append({upload.uid, upload.href, put.etag, upload.values, upload.open});
        ++pass.uploaded;
        if (upload.completes)
            ++pass.completed;
    }
    return Result::done();
}

Result AgendaSync::writeAgenda(Pass& pass)
{
    SyncPlan& plan = pass.plan;
    if (!plan.agendaChanged)
        return Result::done();
    // A sync cut short after my.log and before agenda.txt wrote these entries already.
    const QStringList logged = pass.log.lines().texts();
    plan.removalEntries.removeIf([&logged](const QString& entry) { return logged.contains(entry); });
    const StoreChange written = pass.agenda.replaceAll(plan.items, plan.removalEntries);
    return written.status == StoreChange::Done ? Result::done() : Result::failed(written.message);
}

Result AgendaSync::saveState(SyncState& state, Pass& pass)
{
    state.token = pass.changes.token;
    state.pending = pass.bodies.unread.keys();
    state.pending.sort();
    state.entries = pass.plan.entries;
    state.lastSuccess = m_clock.now();
    if (const Result saved = state.save(m_files, statePath()); !saved)
        return Result::failed(
            QStringLiteral("%1 无法写入（%2）").arg(QString::fromUtf8(SyncState::fileName), saved.error()));
    SyncRenames::clear(m_files, pass.renamesPath, pass.renames.bytes);
    // The phone's due times are the items' own now: the file an earlier version kept them in goes.
    QFile::remove(QDir(m_dir).filePath(QStringLiteral("caldav.reminders")));
    Report& report = pass.report;
    report.uploaded = pass.uploaded;
    report.downloaded = pass.plan.downloaded;
    report.completed = pass.plan.completed + pass.completed;
    report.conflicts = pass.plan.conflicts;
    report.skipped = pass.plan.skipped + report.skipped;
    return Result::done();
}
