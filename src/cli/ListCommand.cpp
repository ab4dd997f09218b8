#include "cli/ListCommand.h"

#include "agenda/core/AgendaOrder.h"
#include "agenda/core/AgendaTexts.h"
#include "agenda/core/AgendaTree.h"
#include "cli/AgendaFolder.h"
#include "cli/CommandLine.h"
#include "cli/CommandRun.h"
#include "find/core/FindIndex.h"

#include <numeric>

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
    return {{QStringLiteral("--overdue"), 0, QStringLiteral("--overdue 只用于 --list"), {}},
            findOption(),
            {QStringLiteral("--tag"), 1, QString(), QStringLiteral("--tag 后面应是标签")}};
}

Result ListCommand::read(const Given& given)
{
    const ResultOf<QString> words = findWordsIn(given);
    if (!words)
        return words.result();
    m_findWords = *words;
    m_overdueOnly = given.contains(QStringLiteral("--overdue"));
    if (given.contains(QStringLiteral("--tag"))) {
        const QStringList tag = given.value(QStringLiteral("--tag"));
        if (tag.size() != 1 || tag.first().trimmed().isEmpty())
            return Result::failed(QStringLiteral("--list 的 --tag 后面是一个标签"));
        m_tag = tag.first().trimmed();
    }
    return Result::done();
}

ListCommand::ListCommand()
    : Command(QStringLiteral("--list"), QStringLiteral("--list [--overdue] [--find 字词] [--tag 标签]"),
              QStringLiteral(
                  "  --list             列出日程（文件顺序，UTF-8）：完成日期（有提醒时间的带时间）<TAB>\n"
                  "                     剩余天数<TAB>内容，重复的日程再加<TAB>重复方式；有优先级或标签的\n"
                  "                     再加<TAB>重复方式（没有时为空）<TAB>优先级<TAB>标签（以逗号分开）。\n"
                  "                     子任务列在父任务之下，每层在内容前多两个空格；\n"
                  "                     --overdue 只列逾期的日程，--tag 只列有此标签的\n"))
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
        texts.append(AgendaTexts::findText(item));
    index.setLines(texts);
    QList<bool> found(items.size(), false);
    for (const int row : index.matching(FindQuery(m_findWords)))
        found[row] = (!m_overdueOnly || items[row].daysLeft < 0) &&
                     (m_tag.isEmpty() || items[row].structure.tags.contains(m_tag));
    QList<qsizetype> fileOrder(items.size());
    std::iota(fileOrder.begin(), fileOrder.end(), 0);
    QString out;
    const AgendaTree tree(**agenda);
    for (const AgendaTree::Row& row : tree.arrange(fileOrder, {}))
        if (found[row.item])
            out += AgendaTexts::listLine(items[row.item], row.depth) + u'\n';
    return printFound(out, m_tag.isEmpty() ? m_findWords : m_tag);
}
