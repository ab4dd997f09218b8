#pragma once

#include "agenda/core/AgendaItem.h"

#include <QObject>

#include <functional>
#include <optional>

class AgendaSession;
class MessageBoxes;
class QAction;
class QActionGroup;
class QMenu;

// 提醒时间 ▸ 不提醒 / 09:00 / 12:00 / 18:00 / 其他时间…, in the agenda list's menu: the time of
// day the current item is reminded at on its finish date, the one in force checked (其他时间
// showing it when it is none of the three).
class ItemTimeMenu final : public QObject
{
    Q_OBJECT
public:
    ItemTimeMenu(AgendaSession& session, MessageBoxes& messages,
                 std::function<std::optional<AgendaItem>()> current, QMenu* parentMenu);

    QMenu* menu() const { return m_menu; }
    // Checks the current item's time; called as the menu opens.
    void showChoice();

private:
    void choose(QTime time);
    void askForTime();

    AgendaSession& m_session;
    MessageBoxes& m_messages;
    std::function<std::optional<AgendaItem>()> m_current;
    QMenu* m_menu;
    QActionGroup* m_group;
    QAction* m_other;
};
