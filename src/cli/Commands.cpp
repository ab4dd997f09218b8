#include "cli/Commands.h"

#include "cli/AddCommand.h"
#include "cli/AutostartCommand.h"
#include "cli/BackupsCommand.h"
#include "cli/CalDavCommand.h"
#include "cli/CalendarCommand.h"
#include "cli/DoneCommand.h"
#include "cli/HolidaysCommand.h"
#include "cli/ListCommand.h"
#include "cli/LogCommand.h"
#include "cli/MonthCommand.h"
#include "cli/QuickAddCommand.h"
#include "cli/RemindCommand.h"
#include "cli/RepeatCommand.h"
#include "cli/RestoreCommand.h"
#include "cli/SyncCommand.h"
#include "cli/TimeCommand.h"

namespace Commands {

const std::vector<const Command*>& all()
{
    static const BackupsCommand backups;
    static const RestoreCommand restore;
    static const ListCommand list;
    static const LogCommand log;
    static const MonthCommand month;
    static const AddCommand add;
    static const RepeatCommand repeat;
    static const DoneCommand done;
    static const TimeCommand time;
    static const AutostartCommand autostart;
    static const CalDavCommand caldav;
    static const SyncCommand sync;
    static const HolidaysCommand holidays;
    static const RemindCommand remind;
    static const QuickAddCommand quickAdd;
    static const CalendarCommand calendar;
    static const std::vector<const Command*> commands{
        &backups, &restore,   &list,   &log,  &month,    &add,    &repeat,   &done,
        &time,    &autostart, &caldav, &sync, &holidays, &remind, &quickAdd, &calendar};
    return commands;
}

const Command* named(QStringView name)
{
    for (const Command* command : all())
        if (command->name() == name)
            return command;
    return nullptr;
}

} // namespace Commands
