#include "cli/ExportCommand.h"

#include "agenda/core/AgendaExport.h"
#include "cli/AgendaFolder.h"
#include "cli/CommandRun.h"
#include "cli/SyncHelper.h"
#include "log/core/LogEntry.h"
#include "log/core/LogFile.h"
#include "platform/Clock.h"

#include <QFileInfo>

namespace {

const QString formatOption = QStringLiteral("--format"), allOption = QStringLiteral("--all");

} // namespace

ExportCommand::ExportCommand()
    : Command(QStringLiteral("--export"), QStringLiteral("--export 文件 [--format ics|csv|md] [--all]"),
              QStringLiteral(
                  "  --export 文件      导出日程：.ics（日历程序可导入）、.csv（UTF-8，Excel、WPS 可直接\n"
                  "                     打开）或 .md（清单）；文件为 - 时写到标准输出，须加 --format；\n"
                  "                     --all 连同日志中已完成的\n"))
{
}

QList<Command::Option> ExportCommand::options() const
{
    return {{formatOption, 1, QStringLiteral("--format 只用于 --export"),
             QStringLiteral("--format 后面应是 ics、csv 或 md")},
            {allOption, 0, QStringLiteral("--all 只用于 --export"), {}}};
}

Result ExportCommand::read(const Given& given)
{
    const QStringList file = given.value(name());
    if (file.isEmpty() || file.first().isEmpty())
        return Result::failed(QStringLiteral("--export 后面应是文件名，或 - 表示标准输出"));
    m_file = file.first();
    m_all = given.contains(allOption);
    const QString asked = given.value(formatOption).value(0).toLower();
    m_format = given.contains(formatOption) ? asked : AgendaExport::formatOf(m_file);
    if (m_format == QStringLiteral("markdown"))
        m_format = QStringLiteral("md");
    if (m_format != QStringLiteral("csv") && m_format != QStringLiteral("md") &&
        m_format != QStringLiteral("ics"))
        return Result::failed(
            given.contains(formatOption) || m_file == QStringLiteral("-")
                ? QStringLiteral("--format 应是 ics、csv 或 md")
                : QStringLiteral("无法从“%1”的扩展名看出格式：请用 .ics、.csv 或 .md，或加 --format")
                      .arg(m_file));
    // A relative name is the caller's: the helper the work is handed to is started from here too.
    if (m_file != QStringLiteral("-"))
        m_file = QFileInfo(m_file).absoluteFilePath();
    return Result::done();
}

int ExportCommand::run(const CommandRun& run) const
{
    if (needsHelper())
        return run.helper.exportCalendar(run);
    return exportWith(run, [this, &run](const QList<AgendaExport::Entry>& entries) {
        return m_format == QStringLiteral("csv")
                   ? AgendaExport::csv(entries)
                   : AgendaExport::markdown(entries, run.folder.clock().today()).toUtf8();
    });
}

int ExportCommand::exportWith(const CommandRun& run, const Writer& writer) const
{
    const ResultOf<const AgendaTable*> agenda = run.folder.agenda();
    if (!agenda)
        return printed(agenda.result());
    QList<AgendaExport::Entry> entries = AgendaExport::openItems(**agenda);
    if (m_all) {
        const LogFile::Load log = LogFile::load(run.folder.disk(), run.folder.path(LogFile::fileName));
        if (!log.result)
            return printed(log.result);
        for (int row = 0; row < log.count(); ++row)
            if (const std::optional<LogEntry::Entry> entry = LogEntry::parse(log.text(row)))
                entries.append({{entry->content, entry->setDate, entry->finishDate, 0, {}, entry->time},
                                entry->deletionDate});
    }
    const QByteArray bytes = writer(entries);
    if (m_file == QStringLiteral("-")) {
        std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
        return std::fflush(stdout) == 0 ? 0 : 1;
    }
    if (const Result written = AgendaExport::write(m_file, bytes); !written)
        return printed(written);
    return printed(QStringLiteral("已导出 %1 条日程到 %2").arg(entries.size()).arg(m_file));
}
