#pragma once

#include "agenda/core/AgendaItem.h"
#include "agenda/core/ItemWords.h"
#include "cli/Command.h"

class AgendaFolder;

// --add TEXT: a new item, from the words typed, handed to the running copy or written here.
class AddCommand : public Command
{
public:
    AddCommand();
    Values nameValues() const override { return {1, 0}; }
    QList<Option> options() const override;
    Result read(const Given& given) override;
    int run(const CommandRun& run) const override;

    // The add itself, for --add and the quick-add window, of an item read from the words typed
    // (ItemWords); "已添加：…" when done.
    static ResultOf<QString> addItem(AgendaFolder& folder, const AgendaItem& item);

private:
    QString m_text, m_set, m_finish; // as typed: the add checks them as the entry box does
    QString m_parent;
    ItemWords::Repetition m_repetition;
};
