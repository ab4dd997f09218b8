#pragma once

#include "agenda/core/AgendaItem.h"
#include "cli/Command.h"

class Clock;
class TextFiles;

// --add TEXT: a new item, from the words typed, handed to the running copy or written here.
class AddCommand : public Command
{
public:
    AddCommand();
    int run(const CommandRun& run) const override;

    // The add itself, for --add and the quick-add window, of an item read from the words typed
    // (ItemWords); "已添加：…" when done.
    static ResultOf<QString> addItem(TextFiles& disk, const QString& appDir, const QString& elsewhere,
                                     const Clock& clock, const AgendaItem& item);
};
