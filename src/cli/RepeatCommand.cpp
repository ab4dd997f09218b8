#include "cli/RepeatCommand.h"

#include "agenda/core/AgendaChange.h"
#include "calendar/core/RepeatWords.h"
#include "cli/CommandLine.h"
#include "cli/CommandRun.h"
#include "cli/FolderChange.h"

RepeatCommand::RepeatCommand()
    : Command(QStringLiteral("--repeat"), QStringLiteral("--repeat 内容 方式"),
              QStringLiteral("  --repeat 内容 方式 设置已有日程的重复方式；off 为不重复\n"))
{
}

int RepeatCommand::run(const CommandRun& run) const
{
    const CommandLine& options = run.options;
    // The command line read the words already.
    const ResultOf<RepeatWords> read = RepeatWords::parse(options.repeatWords);
    const RepeatWords words = read ? *read : RepeatWords{};
    const QString& text = options.itemText;
    const Result set = FolderChange::apply(run.disk, options.appDir, run.elsewhere, run.clock,
                                           AgendaChange::setRepeat(text, words));
    if (!set)
        return printed(set);
    return printed(QStringLiteral("已设置：%1（%2）")
                       .arg(text, words.rule ? words.rule->text() : RepeatRule::kindName(words.kind)));
}
