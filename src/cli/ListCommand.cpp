#include "cli/ListCommand.h"

#include "agenda/core/AgendaFile.h"
#include "agenda/core/AgendaStore.h"
#include "agenda/core/AgendaTexts.h"
#include "cli/CommandLine.h"
#include "cli/CommandRun.h"
#include "find/core/FindIndex.h"
#include "log/core/LogFile.h"
#include "platform/Clock.h"

#include <QDir>

int ListCommand::printFound(const QString& lines, const CommandLine& options)
{
    write(stdout, lines);
    return lines.isEmpty() && !options.findWords.isEmpty() ? 1 : 0;
}

ListCommand::ListCommand()
    : Command(QStringLiteral("--list"), QStringLiteral("--list [--overdue] [--find 字词]"),
              QStringLiteral(
                  "  --list             列出日程（文件顺序，UTF-8）：完成日期（有提醒时间的带时间）<TAB>\n"
                  "                     剩余天数<TAB>内容，重复的日程再加<TAB>重复方式；\n"
                  "                     --overdue 只列逾期的日程\n"))
{
}

int ListCommand::run(const CommandRun& run) const
{
    const CommandLine& options = run.options;
    // Read through the store, which puts the repeating items' rules with them; it writes nothing here.
    AgendaStore store(run.disk, QDir(options.appDir).filePath(QString::fromUtf8(AgendaFile::fileName)),
                      QDir(options.appDir).filePath(QString::fromUtf8(LogFile::fileName)));
    if (const Result loaded = store.load(run.clock.today()); !loaded) {
        print(stderr, QStringLiteral("kestrin: ") + loaded.error());
        return 1;
    }
    const QList<AgendaItem>& items = store.table().items;
    FindIndex index;
    QStringList texts;
    for (const AgendaItem& item : items)
        texts.append(item.text);
    index.setLines(texts);
    QString out;
    for (const int row : index.matching(FindQuery(options.findWords))) {
        if (options.overdueOnly && items[row].daysLeft >= 0)
            continue;
        out += AgendaTexts::listLine(items[row]) + u'\n';
    }
    return printFound(out, options);
}
