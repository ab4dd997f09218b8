#include "cli/ListCommand.h"

#include "agenda/core/AgendaTexts.h"
#include "cli/AgendaFolder.h"
#include "cli/CommandLine.h"
#include "cli/CommandRun.h"
#include "find/core/FindIndex.h"

int ListCommand::printFound(const QString& lines, const QString& findWords)
{
    write(stdout, lines);
    return lines.isEmpty() && !findWords.isEmpty() ? 1 : 0;
}

Command::Option ListCommand::findOption()
{
    return {QStringLiteral("--find"), 1, QStringLiteral("--find 只用于 --list 与 --log"),
            QStringLiteral("--find 后面应是要找的字词或拼音")};
}

ResultOf<QString> ListCommand::findWordsIn(const Given& given)
{
    const QString find = QStringLiteral("--find");
    if (!given.contains(find))
        return QString();
    const QStringList words = given.value(find);
    if (words.isEmpty() || words.first().trimmed().isEmpty())
        return Result::failed(findOption().missing);
    return words.first();
}

QList<Command::Option> ListCommand::options() const
{
    return {{QStringLiteral("--overdue"), 0, QStringLiteral("--overdue 只用于 --list"), {}}, findOption()};
}

Result ListCommand::read(const Given& given)
{
    const ResultOf<QString> words = findWordsIn(given);
    if (!words)
        return words.result();
    m_findWords = *words;
    m_overdueOnly = given.contains(QStringLiteral("--overdue"));
    return Result::done();
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
    const ResultOf<const AgendaTable*> agenda = run.folder.agenda();
    if (!agenda) {
        print(stderr, QStringLiteral("kestrin: ") + agenda.error());
        return 1;
    }
    const QList<AgendaItem>& items = (*agenda)->items;
    FindIndex index;
    QStringList texts;
    for (const AgendaItem& item : items)
        texts.append(item.text);
    index.setLines(texts);
    QString out;
    for (const int row : index.matching(FindQuery(m_findWords))) {
        if (m_overdueOnly && items[row].daysLeft >= 0)
            continue;
        out += AgendaTexts::listLine(items[row]) + u'\n';
    }
    return printFound(out, m_findWords);
}
