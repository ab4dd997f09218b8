#include "agenda/DueReminderMenu.h"

#include "agenda/core/DueReminder.h"
#include "calendar/core/TimeWords.h"
#include "platform/Services.h"
#include "platform/files/Settings.h"

#include <QActionGroup>
#include <QMenu>
#include <QTime>

#include <optional>

DueReminderMenu::DueReminderMenu(const Services& services, DueReminder& reminder, QMenu* parentMenu)
    : QObject(parentMenu), m_services(services), m_reminder(reminder),
      m_menu(parentMenu->addMenu(QStringLiteral("到期提醒(&R)"))), m_group(new QActionGroup(this))
{
    m_menu->setObjectName(QStringLiteral("MenuDueReminder"));
    const auto add = [this](const QString& caption, const char* name) {
        QAction* action = m_menu->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        action->setCheckable(true);
        m_group->addAction(action);
        return action;
    };
    connect(add(QStringLiteral("不提醒(&N)"), "ActionRemindOff"), &QAction::triggered, this,
            [this] { choose(std::nullopt); });
    for (int hour : {8, 9, 10}) {
        QAction* action = add(QStringLiteral("每天 %1:00(&%2)").arg(hour, 2, 10, QChar(u'0')).arg(hour % 10),
                              hour == 8   ? "ActionRemind8"
                              : hour == 9 ? "ActionRemind9"
                                          : "ActionRemind10");
        action->setData(QTime(hour, 0));
        connect(action, &QAction::triggered, this, [this, hour] { choose(QTime(hour, 0)); });
    }
    connect(add(QStringLiteral("其他时间(&T)…"), "ActionRemindOther"), &QAction::triggered, this,
            &DueReminderMenu::askForTime);
    connect(m_menu, &QMenu::aboutToShow, this, &DueReminderMenu::showChoice);
}

void DueReminderMenu::showChoice()
{
    const std::optional<QTime> time = m_reminder.time();
    const QList<QAction*> actions = m_group->actions();
    QAction* chosen = actions.last(); // 其他时间, unless one of the others says it
    for (QAction* action : actions) {
        const bool off = action->objectName() == QStringLiteral("ActionRemindOff");
        if ((off && !time) || (time && action->data().toTime() == *time))
            chosen = action;
    }
    chosen->setChecked(true);
}

void DueReminderMenu::choose(const std::optional<QTime>& time)
{
    if (const Result chosen = DueReminder::choose(m_services.path(Settings::fileName), time); !chosen)
        m_services.messages.inform(chosen.error() + QStringLiteral("，到期提醒未更改。"));
    m_reminder.reload();
    showChoice();
}

void DueReminderMenu::askForTime()
{
    const QString current = m_reminder.time().value_or(QTime(8, 0)).toString(QStringLiteral("HH:mm"));
    const std::optional<QString> typed = m_services.messages.askText(
        QStringLiteral("到期提醒"), QStringLiteral("每天提醒的时间（如 08:30、早上8点半）："), current);
    if (!typed) {
        showChoice();
        return;
    }
    const ResultOf<QTime> time = TimeWords::timeOfDay(*typed);
    if (!time) {
        m_services.messages.inform(time.error() + QStringLiteral("。到期提醒未更改。"));
        showChoice();
        return;
    }
    choose(*time);
}
