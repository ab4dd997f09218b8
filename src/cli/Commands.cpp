#include "cli/Commands.h"

#include "cli/AddCommand.h"
#include "cli/AutostartCommand.h"
#include "cli/BackupsCommand.h"
#include "cli/CalDavCommand.h"
#include "cli/CalendarCommand.h"
#include "cli/DoneCommand.h"
#include "cli/ExportCommand.h"
#include "cli/HolidaysCommand.h"
#include "cli/ListCommand.h"
#include "cli/LogCommand.h"
#include "cli/MonthCommand.h"
#include "cli/PriorityCommand.h"
#include "cli/QuickAddCommand.h"
#include "cli/RemindCommand.h"
#include "cli/RepeatCommand.h"
#include "cli/RestoreCommand.h"
#include "cli/SyncCommand.h"
#include "cli/TagCommand.h"
#include "cli/TimeCommand.h"

namespace Commands {

namespace {

using Maker = std::unique_ptr<Command> (*)();

template <typename T> std::unique_ptr<Command> made()
{
    return std::make_unique<T>();
}

// In the order the usage lists them.
constexpr Maker makers[] = {
    made<BackupsCommand>,   made<RestoreCommand>,  made<ListCommand>,     made<LogCommand>,
    made<MonthCommand>,     made<AddCommand>,      made<RepeatCommand>,   made<DoneCommand>,
    made<PriorityCommand>,  made<TagCommand>,      made<ExportCommand>,   made<TimeCommand>,
    made<AutostartCommand>, made<CalDavCommand>,   made<SyncCommand>,     made<HolidaysCommand>,
    made<RemindCommand>,    made<QuickAddCommand>, made<CalendarCommand>,
};

} // namespace

const std::vector<const Command*>& all()
{
    static const std::vector<std::unique_ptr<Command>> owned = [] {
        std::vector<std::unique_ptr<Command>> commands;
        for (const Maker make : makers)
            commands.push_back(make());
        return commands;
    }();
    static const std::vector<const Command*> commands = [] {
        std::vector<const Command*> list;
        for (const auto& command : owned)
            list.push_back(command.get());
        return list;
    }();
    return commands;
}

std::unique_ptr<Command> make(QStringView name)
{
    const std::vector<const Command*>& known = all();
    for (size_t i = 0; i < known.size(); ++i)
        if (known[i]->name() == name)
            return makers[i]();
    return nullptr;
}

const Command* named(QStringView name)
{
    for (const Command* command : all())
        if (command->name() == name)
            return command;
    return nullptr;
}

} // namespace Commands
