#include "sync/schedule/ProcessSyncRunner.h"

#include <QProcess>

ProcessSyncRunner::ProcessSyncRunner(const QString& helper, const QString& exeDir, const QString& appDir,
                                     QObject* parent)
    : SyncRunner(parent), m_helper(helper), m_exeDir(exeDir), m_appDir(appDir)
{
}

void ProcessSyncRunner::start()
{
    if (m_process)
        return;
    m_process = new QProcess(this);
    m_process->setProcessChannelMode(QProcess::MergedChannels);
    connect(m_process, &QProcess::finished, this, [this](int code, QProcess::ExitStatus status) {
        const QString output = QString::fromUtf8(m_process->readAll()).trimmed();
        m_process->deleteLater();
        m_process = nullptr;
        // The report is the helper's last line; a line before it may ask to wait for an entry.
        const QString report = output.section(u'\n', -1);
        if (status == QProcess::NormalExit && code == 0)
            emit finished(Result::done());
        else
            emit finished(
                Result::failed(report.isEmpty() ? QStringLiteral("同步失败：同步程序意外退出") : report));
    });
    connect(m_process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart)
            return;
        m_process->deleteLater();
        m_process = nullptr;
        emit finished(Result::failed(QStringLiteral("同步失败：无法启动 %1").arg(m_helper)));
    });
    m_process->start(m_helper, {QStringLiteral("--exe-dir"), m_exeDir, QStringLiteral("--sync"),
                                QStringLiteral("--dir"), m_appDir});
}

Result ProcessSyncRunner::exportCalendar(const QString& file)
{
    QProcess helper;
    helper.start(m_helper, {QStringLiteral("--exe-dir"), m_exeDir, QStringLiteral("--export"), file,
                            QStringLiteral("--dir"), m_appDir});
    if (!helper.waitForStarted())
        return Result::failed(QStringLiteral("导出失败：无法启动 %1").arg(m_helper));
    if (!helper.waitForFinished(60000)) {
        helper.kill();
        helper.waitForFinished();
        return Result::failed(QStringLiteral("导出失败：%1 一分钟没有完成").arg(m_helper));
    }
    if (helper.exitStatus() == QProcess::NormalExit && helper.exitCode() == 0)
        return Result::done();
    const QString said = QString::fromUtf8(helper.readAllStandardError()).trimmed().section(u'\n', -1);
    return Result::failed(said.isEmpty() ? QStringLiteral("导出失败：%1 意外退出").arg(m_helper)
                                         : said.mid(said.startsWith(QStringLiteral("kestrin: ")) ? 9 : 0));
}
