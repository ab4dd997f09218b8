#pragma once

#include <QObject>

class DueReminder;
class QActionGroup;
class QMenu;
struct Services;

// 到期提醒 ▸ 不提醒 / 每天 08:00 / 每天 09:00 / 每天 10:00 / 其他时间…, in the agenda list's menu:
// the daily word's time, one choice at a time, the one in force checked.
class DueReminderMenu final : public QObject
{
    Q_OBJECT
public:
    DueReminderMenu(const Services& services, DueReminder& reminder, QMenu* parentMenu);

    QMenu* menu() const { return m_menu; }
    // Checks the choice in force; called as the menu opens.
    void showChoice();

private:
    void choose(const std::optional<QTime>& time);
    void askForTime();

    const Services& m_services;
    DueReminder& m_reminder;
    QMenu* m_menu;
    QActionGroup* m_group;
};
