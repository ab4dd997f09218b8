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

// The agenda list menu's commands for an item's place and marks: 添加子任务…, 移出父任务,
// 展开/收起, 优先级 ▸ 高 / 中 / 低 / 无 (the current one checked) and 标签….
class StructureMenu final : public QObject
{
    Q_OBJECT
public:
    StructureMenu(AgendaSession& session, MessageBoxes& messages,
                  std::function<std::optional<AgendaItem>()> current, QMenu* parentMenu);

    // Enables and checks what applies to the current item; called as the menu opens.
    void showChoice();
    // 展开 for a folded item, 收起 for an open one.
    void setFoldCaption(bool folded);

signals:
    // 添加子任务… for the current item: the panel's entry, under it.
    void addSubtaskWanted(const QString& parent);
    // 展开/收起 for the current item.
    void foldWanted(const QString& text);

private:
    void choosePriority(ItemStructure::Priority priority);
    void askForTags();
    void leaveParent();

    AgendaSession& m_session;
    MessageBoxes& m_messages;
    std::function<std::optional<AgendaItem>()> m_current;
    QAction* m_addSubtask;
    QAction* m_leaveParent;
    QAction* m_fold;
    QMenu* m_priority;
    QActionGroup* m_priorities;
    QAction* m_tags;
};
