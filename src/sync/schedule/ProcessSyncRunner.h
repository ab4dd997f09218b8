#pragma once

#include "sync/schedule/SyncRunner.h"

class QProcess;

// Runs kestrin-sync --sync for the folder as a child process.
class ProcessSyncRunner final : public SyncRunner
{
public:
    ProcessSyncRunner(const QString& helper, const QString& exeDir, const QString& appDir,
                      QObject* parent = nullptr);
    void start() override;
    Result exportCalendar(const QString& file) override;

private:
    QString m_helper;
    QString m_exeDir;
    QString m_appDir;
    QProcess* m_process = nullptr;
};
