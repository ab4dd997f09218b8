#pragma once

#include "agenda/core/AgendaItem.h"

#include <QObject>

#include <functional>
#include <optional>

class AgendaSession;
class MessageBoxes;
class QActionGroup;
class QMenu;

// 重复 ▸ 不重复 / 每天 / 每周（周三）/ 工作日 / 法定工作日 / 每月（15 日）/ 每年（12 月 15 日）/
// 农历每年（十月廿九）, in the agenda list's menu: the current item's rule, labelled for its
// finish date, the one in force checked.
class RepeatMenu final : public QObject
{
    Q_OBJECT
public:
    RepeatMenu(AgendaSession& session, MessageBoxes& messages,
               std::function<std::optional<AgendaItem>()> current, QMenu* parentMenu);

    QMenu* menu() const { return m_menu; }
    // Labels the kinds for the current item and checks its rule; called as the menu opens.
    void showChoice();

    // 每周（周三）, 每月（15 日）…: the kind as rule would keep it.
    static QString label(const RepeatRule& rule);

private:
    void choose(RepeatRule::Kind kind);

    AgendaSession& m_session;
    MessageBoxes& m_messages;
    std::function<std::optional<AgendaItem>()> m_current;
    QMenu* m_menu;
    QActionGroup* m_group;
};
