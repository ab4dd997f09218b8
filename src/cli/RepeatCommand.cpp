#include "cli/RepeatCommand.h"

#include "agenda/core/AgendaStore.h"
#include "calendar/core/RepeatWords.h"
#include "cli/CommandLine.h"
#include "cli/CommandRun.h"
#include "cli/FolderChange.h"
#include "cli/ScriptRequests.h"

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
    const Result set = FolderChange::make(
        run.disk, options.appDir, run.elsewhere, run.clock, ScriptRequests::repeatRequest(text, words),
        [&](AgendaStore& store) { return store.setRepeatWords(text, words); },
        QStringLiteral("重复方式未更改。"));
    if (!set)
        return printed(set);
    return printed(QStringLiteral("已设置：%1（%2）")
                       .arg(text, words.rule ? words.rule->text() : RepeatRule::kindName(words.kind)));
}
