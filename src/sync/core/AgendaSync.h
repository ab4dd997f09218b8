#pragma once

#include "sync/core/SyncState.h"

#include <QStringList>

class CalDavClient;
class Clock;
class TextFiles;

// One sync of a folder's agenda with its task list: read what changed there, merge, write the
// server's side, then the agenda and my.log through their stores, then the sync state. A failure
// before the files are written leaves them as they were; a sync cut short anywhere is caught up by
// the next, which recognises what was done by its text and values.
class AgendaSync
{
public:
    AgendaSync(TextFiles& files, const Clock& clock, const QString& dir, CalDavClient& client);

    struct Report
    {
        Result result = Result::done();
        int uploaded = 0, downloaded = 0, completed = 0, conflicts = 0;
        QStringList skipped;
        int notTasks = 0; // events beside the tasks, told on the first sync only
        int requests = 0;
        QString text() const;
    };
    Report run(SyncState& state);

    QString statePath() const;

private:
    struct Pass;

    // One pass, its steps in order; each does its part or says why the pass stops.
    Result syncOnce(SyncState& state, Pass& pass);
    Result readFiles(Pass& pass);
    Result readServer(const SyncState& state, Pass& pass);
    Result readBodies(const SyncState& state, Pass& pass);
    void gatherTasks(const SyncState& state, Pass& pass);
    void plan(const SyncState& state, Pass& pass);
    Result archive(Pass& pass);
    Result upload(Pass& pass);
    Result writeAgenda(Pass& pass);
    Result saveState(SyncState& state, Pass& pass);
    // The phone's due times and alarms kept in the state, and what the program is to remind of.

    TextFiles& m_files;
    const Clock& m_clock;
    QString m_dir;
    CalDavClient& m_client;
};
