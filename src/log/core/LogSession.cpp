#include "log/core/LogSession.h"

LogSession::LogSession(TextFiles& files, const QString& path, QObject* parent)
    : QObject(parent), m_store(files, path)
{
}

void LogSession::read(bool elsewhere)
{
    const LogFile::Load& log = m_store.load();
    emit loaded(elsewhere);
    if (!log.result)
        emit failed(log.result.error());
}

void LogSession::load()
{
    read(false);
}

void LogSession::open()
{
    // A folder where the file should be is no file either, but is said, not shown as an empty log.
    if (m_store.exists() || !m_store.load().result) {
        read(false);
        return;
    }
    // The file has gone since the last load: the old lines are no longer the truth.
    m_store.forget();
    emit loaded(false);
}

void LogSession::reloadIfChanged()
{
    if (!m_store.unchangedOnDisk())
        read(true);
}

Result LogSession::remove(int row, int loads)
{
    // The answer was given to the lines on view: lines loaded since, or a file changed since, make it stale.
    const StoreChange change = loads == m_store.loads()
                                   ? m_store.removeLine(row)
                                   : StoreChange::changedElsewhere(QString::fromUtf8(LogFile::fileName));
    // Whatever came of it, the lines on view are to be the file's; a load says its own failure.
    load();
    return change.result(QStringLiteral("日志未删除。"));
}

Result LogSession::restore(int row, int loads)
{
    // A load while the menu was open (the file changed elsewhere) moved the lines under it.
    if (loads != m_store.loads() || !m_restorer)
        return Result::done();
    return m_restorer(m_store, row);
}
