#pragma once

class AgendaSession;
class AlarmRuntime;
class DueReminder;
class LogSession;

// Every area at work, as the program makes them: what the main window's panels show and ask.
struct Sessions
{
    AgendaSession& agenda;
    LogSession& log;
    AlarmRuntime& alarms;
    DueReminder& dueReminder;
};
