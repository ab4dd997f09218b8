#include "main/Program.h"

#include "agenda/AgendaPanel.h"
#include "agenda/core/DueReminder.h"
#include "app/FormMain.h"
#include "cli/ScriptRequests.h"
#include "platform/Services.h"
#include "sync/core/SyncState.h"
#include "sync/schedule/SyncRenames.h"
#include "sync/schedule/SyncRunner.h"
#include "sync/schedule/SyncSchedule.h"
#include "sync/schedule/TimedReminders.h"

#include <QFile>

Program::Program(const Services& services, TrayIcon& tray, SyncRunner& syncRunner, TextFiles& plainFiles)
    : m_services(services), m_plainFiles(plainFiles), m_linkPath(services.path(SyncState::fileName)),
      m_window(std::make_unique<FormMain>(services, tray)),
      m_syncs(std::make_unique<SyncSchedule>(services.clock, syncRunner, services.notifications,
                                             [this] { return linked(); }))
{
    AgendaPanel* agenda = m_window->agendaPanel();
    QObject::connect(agenda, &AgendaPanel::itemsChanged, m_syncs.get(), &SyncSchedule::changed);
    QObject::connect(agenda, &AgendaPanel::entryModeChanged, m_syncs.get(), &SyncSchedule::setEntryBusy);
    QObject::connect(
        agenda, &AgendaPanel::itemRenamed, m_syncs.get(),
        [this](const QString& oldText, const QString& newText) { noteRename(oldText, newText); });
    // The phone's due times, as each sync leaves them; 完成 takes the item as 删除日程 does.
    m_reminders = std::make_unique<TimedReminders>(
        services, [agenda](const QString& text) { return agenda->contains(text); });
    QObject::connect(&syncRunner, &SyncRunner::finished, m_reminders.get(), &TimedReminders::reload);
    QObject::connect(m_reminders.get(), &TimedReminders::completeRequested, agenda,
                     &AgendaPanel::completeItem);
}

Program::~Program() = default;

bool Program::linked() const
{
    return QFile::exists(m_linkPath);
}

QJsonObject Program::answer(const QJsonObject& request) const
{
    AgendaPanel* agenda = m_window->agendaPanel();
    return ScriptRequests::answer(
        request,
        [agenda](const QString& text, const QString& set, const QString& finish) {
            return agenda->addTyped(text, set, finish);
        },
        [agenda] { return agenda->inEntryMode() ? QStringLiteral("正在填写日程") : QString(); },
        [agenda] { agenda->dueReminder()->reload(); });
}

void Program::start()
{
    m_window->startup();
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
