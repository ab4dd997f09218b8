#include "cli/LogCommand.h"

#include "calendar/core/DateText.h"
#include "cli/AgendaFolder.h"
#include "cli/CommandLine.h"
#include "cli/CommandRun.h"
#include "cli/ListCommand.h"
#include "find/core/FindIndex.h"
#include "log/core/LogEntry.h"
#include "log/core/LogFile.h"

LogCommand::LogCommand()
    : Command(QStringLiteral("--log"), QStringLiteral("--log [--find 字词]"),
              QStringLiteral(
                  "  --log              列出日志（UTF-8）：设置日期<TAB>完成日期<TAB>删除日期<TAB>内容\n"
                  "  --find 字词        与 --list、--log 同用：只列找到的，按字词（空格分开，都要有）、\n"
                  "                     拼音（xiezhoubao）或首字母（xzb）；日志也按日期（2026-12、12月）。\n"
                  "                     一条也没有时退出码为 1\n"))
{
}

QList<Command::Option> LogCommand::options() const
{
    return {ListCommand::findOption()};
}

Result LogCommand::read(const Given& given)
{
    const ResultOf<QString> words = ListCommand::findWordsIn(given);
    if (!words)
        return words.result();
    m_findWords = *words;
    return Result::done();
}

int LogCommand::run(const CommandRun& run) const
{
    const LogFile::Load lines = LogFile::load(run.folder.disk(), run.folder.path(LogFile::fileName));
    if (!lines.result) {
        print(stderr, QStringLiteral("kestrin: ") + lines.result.error());
        return 1;
    }
    const LogEntry::FindLines read = LogEntry::findLines(lines);
    FindIndex index;
    index.setLines(read.texts, read.dates);
    QString out;
    for (const int row : index.matching(FindQuery(m_findWords))) {
        QStringList fields;
        for (const QDate& date : read.dates[row])
            fields.append(DateText::format(date, fields.size() == 1 ? read.times[row] : QTime()));
        while (fields.size() < 3)
            fields.append(QString());
        out += fields.join(u'\t') + u'\t' + read.texts[row] + u'\n';
    }
    return ListCommand::printFound(out, m_findWords);
}
