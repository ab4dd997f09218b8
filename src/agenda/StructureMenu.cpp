#include "agenda/StructureMenu.h"

#include "agenda/core/AgendaSession.h"
#include "platform/MessageBoxes.h"

#include <QActionGroup>
#include <QMenu>

StructureMenu::StructureMenu(AgendaSession& session, MessageBoxes& messages,
                             std::function<std::optional<AgendaItem>()> current, QMenu* parentMenu)
    : QObject(parentMenu), m_session(session), m_messages(messages), m_current(std::move(current)),
      m_priorities(new QActionGroup(this))
{
    const auto named = [](QAction* action, const char* name) {
        action->setObjectName(QString::fromLatin1(name));
        return action;
    };
    m_addSubtask = named(parentMenu->addAction(QStringLiteral("添加子任务(&S)…")), "ActionAddSubtask");
    connect(m_addSubtask, &QAction::triggered, this, [this] {
        if (const std::optional<AgendaItem> item = m_current())
            emit addSubtaskWanted(item->text);
    });
    m_leaveParent = named(parentMenu->addAction(QStringLiteral("移出父任务(&U)")), "ActionLeaveParent");
    connect(m_leaveParent, &QAction::triggered, this, &StructureMenu::leaveParent);
    m_fold = named(parentMenu->addAction(QStringLiteral("收起(&E)")), "ActionFold");
    connect(m_fold, &QAction::triggered, this, [this] {
        if (const std::optional<AgendaItem> item = m_current())
            emit foldWanted(item->text);
    });
    m_priority = parentMenu->addMenu(QStringLiteral("优先级(&L)"));
    m_priority->setObjectName(QStringLiteral("MenuPriority"));
    for (const auto& [priority, caption, name] :
         {std::tuple{ItemStructure::High, "高(&H)", "ActionPriorityHigh"},
          std::tuple{ItemStructure::Medium, "中(&M)", "ActionPriorityMedium"},
          std::tuple{ItemStructure::Low, "低(&L)", "ActionPriorityLow"},
          std::tuple{ItemStructure::NoPriority, "无(&N)", "ActionPriorityNone"}}) {
        QAction* action = named(m_priority->addAction(QString::fromUtf8(caption)), name);
        action->setCheckable(true);
        action->setData(int(priority));
        m_priorities->addAction(action);
        connect(action, &QAction::triggered, this, [this, priority] { choosePriority(priority); });
    }
    m_tags = named(parentMenu->addAction(QStringLiteral("标签(&G)…")), "ActionTags");
    connect(m_tags, &QAction::triggered, this, &StructureMenu::askForTags);
    connect(parentMenu, &QMenu::aboutToShow, this, &StructureMenu::showChoice);
}

void StructureMenu::showChoice()
{
    const std::optional<AgendaItem> item = m_current();
    const bool subtasks = item && m_session.subtaskCount(item->text) > 0;
    for (QAction* action : {m_addSubtask, m_tags})
        action->setEnabled(item.has_value());
    m_leaveParent->setEnabled(item && !item->structure.parent.isEmpty());
    m_fold->setEnabled(subtasks);
    m_priority->setEnabled(item.has_value());
    for (QAction* action : m_priorities->actions())
        action->setChecked(item && action->data().toInt() == int(item->structure.priority));
}

void StructureMenu::setFoldCaption(bool folded)
{
    m_fold->setText(folded ? QStringLiteral("展开(&E)") : QStringLiteral("收起(&E)"));
}

void StructureMenu::choosePriority(ItemStructure::Priority priority)
{
    const std::optional<AgendaItem> item = m_current();
    if (!item || item->structure.priority == priority)
        return;
    if (const Result set = m_session.apply(AgendaChange::setPriority(item->text, priority)); !set)
        m_messages.inform(set.error());
}

void StructureMenu::askForTags()
{
    const std::optional<AgendaItem> item = m_current();
    if (!item)
        return;
    QStringList inUse;
    for (const AgendaItem& other : m_session.table().items)
        for (const QString& tag : other.structure.tags)
            if (!inUse.contains(tag))
                inUse.append(tag);
    const QString label =
        QStringLiteral("“%1”的标签，以逗号分开（如 工作，家庭）；留空为没有标签：").arg(item->text) +
        (inUse.isEmpty() ? QString() : QStringLiteral("\n已有的标签：") + inUse.join(QStringLiteral("、")));
    const std::optional<QString> typed =
        m_messages.askText(QStringLiteral("标签"), label, item->structure.tags.join(QStringLiteral("，")));
    if (!typed)
        return;
    const QStringList tags = ItemStructure::splitTags(*typed);
    if (tags == item->structure.tags)
        return;
    if (const Result set = m_session.apply(AgendaChange::setTags(item->text, tags)); !set)
        m_messages.inform(set.error());
}

void StructureMenu::leaveParent()
{
    const std::optional<AgendaItem> item = m_current();
    if (!item || item->structure.parent.isEmpty())
        return;
    // One level up: under its parent's parent, when that is still there.
    QString above;
    for (const AgendaItem& other : m_session.table().items)
        if (other.text == item->structure.parent && m_session.contains(other.structure.parent))
            above = other.structure.parent;
    if (const Result set = m_session.apply(AgendaChange::setParent(item->text, above)); !set)
        m_messages.inform(set.error());
}
