#include "main/Program.h"

#include "agenda/MonthWindow.h"
#include "agenda/core/AgendaFile.h"
#include "agenda/core/AgendaSession.h"
#include "agenda/core/DueReminder.h"
#include "agenda/core/ItemReminders.h"
#include "agenda/core/ItemWords.h"
#include "agenda/core/RepeatFile.h"
#include "agenda/core/StructureFile.h"
#include "alarm/core/AlarmRuntime.h"
#include "app/FormMain.h"
#include "cli/ScriptRequests.h"
#include "log/core/LogFile.h"
#include "log/core/LogSession.h"
#include "platform/Notifications.h"
#include "platform/Services.h"
#include "platform/files/FileWatch.h"
#include "platform/instance/SingleInstance.h"
#include "platform/qt/NetworkWatch.h"
#include "platform/qt/QtMessageBoxes.h"
#include "platform/qt/QtTrayIcon.h"
#include "quickadd/QuickAddWindow.h"
#include "sync/schedule/SyncLink.h"
#include "sync/schedule/SyncRenames.h"
#include "sync/schedule/SyncRunner.h"
#include "sync/schedule/SyncSchedule.h"
#include "tray/TrayController.h"

#include <QFile>

#include <cstdio>

Program::Program(const Services& services, TrayIcon& tray, SyncRunner& syncRunner, TextFiles& plainFiles)
    : m_services(services), m_plainFiles(plainFiles), m_linkPath(services.path(SyncLink::fileName)),
      m_agenda(std::make_unique<AgendaSession>(services)),
      m_log(std::make_unique<LogSession>(services.files, services.path(LogFile::fileName))),
      m_alarmTable(std::make_unique<AlarmTable>()),
      m_alarms(std::make_unique<AlarmRuntime>(services, *m_alarmTable)),
      m_dueReminder(std::make_unique<DueReminder>(services)),
      m_window(
          std::make_unique<FormMain>(services, tray, Sessions{*m_agenda, *m_log, *m_alarms, *m_dueReminder})),
      m_syncs(std::make_unique<SyncSchedule>(services.clock, syncRunner, services.notifications,
                                             [this] { return linked(); }))
{
    AgendaSession* agenda = m_agenda.get();
    FormMain* window = m_window.get();
    window->setCalendarExport([&syncRunner](const QString& file) { return syncRunner.exportCalendar(file); });
    QObject::connect(agenda, &AgendaSession::changed, m_syncs.get(), &SyncSchedule::changed);
    QObject::connect(agenda, &AgendaSession::entryBusyChanged, m_syncs.get(), &SyncSchedule::setEntryBusy);
    QObject::connect(
        agenda, &AgendaSession::renamed, m_syncs.get(),
        [this](const QString& oldText, const QString& newText) { noteRename(oldText, newText); });
    // The items' times (the phone's due times among them, as a sync writes them), as each load
    // leaves them; 完成 takes the item as 删除日程 does.
    m_itemReminders = std::make_unique<ItemReminders>(services);
    QObject::connect(agenda, &AgendaSession::loaded, m_itemReminders.get(),
                     [this, agenda] { m_itemReminders->setItems(agenda->table().items); });
    QObject::connect(m_itemReminders.get(), &ItemReminders::completeRequested, agenda,
                     &AgendaSession::complete);
    QObject::connect(m_itemReminders.get(), &ItemReminders::agendaWanted, window, &FormMain::showAgenda);

    QObject::connect(m_dueReminder.get(), &DueReminder::agendaWanted, window, &FormMain::showAgenda);
    QObject::connect(window, &FormMain::monthWanted, window, [this] { showMonth(); });

    LogSession* log = m_log.get();
    QObject::connect(agenda, &AgendaSession::logChanged, log, &LogSession::load);
    log->setRestorer([agenda](LogStore& store, int row) { return agenda->restore(store, row); });
    // The files are plain text: an edit made elsewhere shows without a restart.
    const QString logFile = QString::fromUtf8(LogFile::fileName);
    auto* watch =
        new FileWatch(services.appDir,
                      {QString::fromUtf8(AgendaFile::fileName), logFile,
                       QString::fromUtf8(RepeatFile::fileName), QString::fromUtf8(StructureFile::fileName)},
                      window);
    QObject::connect(watch, &FileWatch::changed, window, [agenda, log, logFile](const QString& fileName) {
        if (fileName == logFile)
            log->reloadIfChanged();
        else
            agenda->reloadIfChanged();
    });
}

Program::~Program() = default;

void Program::showMonth()
{
    AgendaSession* agenda = m_agenda.get();
    if (!m_month) {
        m_month = std::make_unique<MonthWindow>(m_services.clock, agenda->holidays(),
                                                [agenda] { return agenda->table().items; });
        // A day's Enter: the quick-add window on that day, adding as 添加日程 does.
        QObject::connect(m_month.get(), &MonthWindow::addWanted, m_month.get(), [this, agenda](QDate day) {
            if (!m_quickAdd)
                m_quickAdd =
                    std::make_unique<QuickAddWindow>(m_services.clock, agenda->holidays(),
                                                     [agenda](const AgendaItem& item) -> ResultOf<QString> {
                                                         const Result added =
                                                             agenda->apply(AgendaChange::add(item));
                                                         if (!added)
                                                             return added;
                                                         return ItemWords::added(item);
                                                     });
            m_quickAdd->present();
            m_quickAdd->setDay(day);
        });
        // What it shows follows the agenda.
        QObject::connect(agenda, &AgendaSession::loaded, m_month.get(), [this] {
            if (m_month->isVisible())
                m_month->select(m_month->selected(), true);
        });
    }
    m_month->present();
}

bool Program::linked() const
{
    return QFile::exists(m_linkPath);
}

QJsonObject Program::answer(const QJsonObject& request)
{
    AgendaSession* agenda = m_agenda.get();
    ScriptRequests::Handlers handlers;
    handlers.apply = [agenda](const AgendaChange& change) { return agenda->apply(change); };
    handlers.syncGate = [agenda] {
        return agenda->entryBusy() ? Result::failed(QStringLiteral("正在填写日程")) : Result::done();
    };
    handlers.rereadSettings = [this] { m_dueReminder->reload(); };
    handlers.showMonth = [this] { showMonth(); };
    return ScriptRequests::answer(request, handlers);
}

void Program::attach(QtMessageBoxes& messages, QtTrayIcon& tray, SingleInstance& instance)
{
    FormMain* window = m_window.get();
    messages.setParentWidget(window);
    tray.setIcon(window->windowIcon());
    tray.setContextMenu(window->tray()->menu());
    QObject::connect(&instance, &SingleInstance::activationRequested, window, &FormMain::activate);
    instance.requestHandler = [this](const QJsonObject& request) { return answer(request); };
    // The system bus only for a folder with a task list: the usual start opens no more than before.
    if (linked()) {
        m_network = std::make_unique<NetworkWatch>();
        QObject::connect(m_network.get(), &NetworkWatch::online, m_syncs.get(), &SyncSchedule::networkBack);
    }
}

void Program::start()
{
    m_window->showAtStart();
    // Once, on the terminal and on the desktop, however many entries it concerns.
    if (const QStringList problems = m_alarms->restore().problems; !problems.isEmpty()) {
        for (const QString& problem : problems)
            std::fprintf(stderr, "kestrin: %s\n", qUtf8Printable(problem));
        m_services.notifications.notify(QStringLiteral("Kestrin"), problems.join(u'\n'));
    }
    m_agenda->reload();
    m_window->greet();
    m_syncs->start();
}

void Program::noteRename(const QString& oldText, const QString& newText) const
{
    if (!linked())
        return;
    // Unnoted, the next sync sees the old task gone and a new one: the phone then shows the old
    // one completed beside it.
    const QString renames = m_services.path(SyncRenames::fileName);
    if (const Result noted = SyncRenames::record(m_plainFiles, renames, oldText, newText); !noted)
        m_services.notifications.notify(
            QStringLiteral("Kestrin 同步"),
            QStringLiteral("改名没能记下（%1）：手机上会看到“%2”已完成，另有新的“%3”。")
                .arg(noted.error(), oldText, newText));
}
