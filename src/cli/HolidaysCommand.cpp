#include "cli/HolidaysCommand.h"

#include "cli/AgendaFolder.h"
#include "cli/CommandLine.h"
#include "cli/CommandRun.h"
#include "cli/SyncHelper.h"

#include <QFile>
#include <QFileInfo>

HolidaysCommand::HolidaysCommand()
    : Command(
          QStringLiteral("--holidays"), QStringLiteral("--holidays [文件]"),
          QStringLiteral("  --holidays 文件    导入法定节假日安排：节假日日历（iCalendar，事件名以“休”或\n"
                         "                     “班”结尾），或本程序的文本格式（每行“2027-01-01 休 元旦”）；\n"
                         "                     同一年份以新导入的为准。不带文件则列出已收录的年份\n"))
{
}

namespace {

QString yearList(const QList<int>& years)
{
    QStringList texts;
    for (int year : years)
        texts.append(QString::number(year));
    return texts.join(QStringLiteral("、"));
}

// Whether the file is an iCalendar one, which only the helper (with libical) reads.
bool isICalendar(const QString& path)
{
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly))
        return false;
    QByteArray start = file.read(64).trimmed();
    if (start.startsWith("\xEF\xBB\xBF"))
        start = start.mid(3);
    return start.toUpper().startsWith("BEGIN:VCALENDAR");
}

} // namespace

Result HolidaysCommand::read(const Given& given)
{
    if (!given.value(name()).isEmpty())
        m_file = QFileInfo(given.value(name()).first()).absoluteFilePath();
    return Result::done();
}

bool HolidaysCommand::needsHelper() const
{
    return isICalendar(m_file);
}

int HolidaysCommand::run(const CommandRun& run) const
{
    if (needsHelper())
        return run.helper.importCalendar(run);
    return import(run, [](const QByteArray& bytes, const QString& source) -> ResultOf<HolidayRead> {
        ResultOf<HolidayCalendar> calendar = HolidayFile::parseBytes(bytes, source);
        if (!calendar)
            return calendar.result();
        return HolidayRead{*calendar, {}};
    });
}

int HolidaysCommand::import(const CommandRun& run, const Reader& reader) const
{
    const CommandLine& options = run.options;
    if (!m_file.isEmpty()) {
        QFile file(m_file);
        if (!file.open(QIODevice::ReadOnly)) {
            print(stderr, QStringLiteral("kestrin: 无法读取 %1（%2）").arg(m_file, file.errorString()));
            return 1;
        }
        const ResultOf<HolidayRead> read = reader(file.readAll(), QFileInfo(m_file).fileName());
        if (!read) {
            print(stderr, QStringLiteral("kestrin: %1。未导入任何内容。").arg(read.error()));
            return 1;
        }
        for (const QString& ignored : read->ignored)
            print(stdout, QStringLiteral("忽略：") + ignored);
        if (read->calendar.years().isEmpty()) {
            print(stderr, QStringLiteral("kestrin: %1 中没有节假日安排。未导入任何内容。")
                              .arg(QFileInfo(m_file).fileName()));
            return 1;
        }
        if (const Result imported = HolidayFile::import(run.folder.disk(), options.appDir, read->calendar);
            !imported) {
            print(stderr, QStringLiteral("kestrin: 节假日安排未能导入：%1").arg(imported.error()));
            return 1;
        }
        print(stdout, QStringLiteral("已导入 %1 年的节假日安排。").arg(yearList(read->calendar.years())));
    }
    const ResultOf<HolidayCalendar> known = HolidayFile::load(run.folder.disk(), options.appDir);
    if (!known) {
        print(stderr, QStringLiteral("kestrin: ") + known.error());
        return 1;
    }
    print(stdout, QStringLiteral("已收录的年份：") + yearList(known->years()));
    return 0;
}
