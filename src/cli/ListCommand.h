#pragma once

#include "cli/Command.h"

// --list: the agenda's lines for a script, every one or those found; exit 1 when a find finds none.
class ListCommand : public Command
{
public:
    ListCommand();
    QList<Option> options() const override;
    Result read(const Given& given) override;
    int run(const CommandRun& run) const override;
    // A listing's lines as they are; with words to find, nothing found is exit 1.
    static int printFound(const QString& lines, const QString& findWords);
    // --find's words, checked: the one option --list and --log share.
    static ResultOf<QString> findWordsIn(const Given& given);
    static Option findOption();

private:
    bool m_overdueOnly = false;
    QString m_findWords; // only the lines that match
    QString m_tag;       // only the items with it
};
