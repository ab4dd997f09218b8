#pragma once

#include "log/core/LogStore.h"
#include "platform/Result.h"

#include <QObject>

#include <functional>

class TextFiles;

// The log at work, without a window: my.log as loaded, deleting its lines, and handing a line back
// to the agenda. Whoever shows the log follows loaded() and asks here for every change.
class LogSession final : public QObject
{
    Q_OBJECT
public:
    // Puts line row of the log back into the agenda and takes it out of the log; the log does not
    // know the agenda, so whoever holds both gives this.
    using Restorer = std::function<Result(LogStore& log, int row)>;

    LogSession(TextFiles& files, const QString& path, QObject* parent = nullptr);

    const LogFile::Load& lines() const { return m_store.lines(); }
    // Counts the loads, so that an answer given to lines since loaded again is recognised as stale.
    int loads() const { return m_store.loads(); }
    void setRestorer(Restorer restorer) { m_restorer = std::move(restorer); }

    // Reads my.log. A file that cannot be read leaves no lines, and says failed().
    void load();
    // The log as opening its panel shows it: read again, or no lines for a file gone since.
    void open();
    // Reads my.log again when another program changed it.
    void reloadIfChanged();
    // Deletes line row of the lines as they stood at the given load, and reads the log again.
    Result remove(int row, int loads);
    // Puts line row of the lines as they stood at the given load back into the agenda.
    Result restore(int row, int loads);

signals:
    // The lines were read again, or dropped. elsewhere: because another program changed the file,
    // which leaves the user where they were in it.
    void loaded(bool elsewhere);
    // A step nobody waits on (a load) did not work: whoever shows the log says why.
    void failed(const QString& reason);

private:
    void read(bool elsewhere);

    LogStore m_store;
    Restorer m_restorer;
};
