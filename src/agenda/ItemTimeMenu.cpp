#include "agenda/ItemTimeMenu.h"

#include "agenda/core/AgendaSession.h"
#include "calendar/core/DateText.h"
#include "calendar/core/TimeWords.h"
#include "platform/MessageBoxes.h"

#include <QActionGroup>
#include <QMenu>

namespace {

const QString otherCaption = QStringLiteral("其他时间");

} // namespace

ItemTimeMenu::ItemTimeMenu(AgendaSession& session, MessageBoxes& messages,
                           std::function<std::optional<AgendaItem>()> current, QMenu* parentMenu)
    : QObject(parentMenu), m_session(session), m_messages(messages), m_current(std::move(current)),
      m_menu(parentMenu->addMenu(QStringLiteral("提醒时间(&T)"))), m_group(new QActionGroup(this))
{
    m_menu->setObjectName(QStringLiteral("MenuItemTime"));
    const auto add = [this](const QString& caption, const char* name, QTime time) {
        QAction* action = m_menu->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        action->setCheckable(true);
        action->setData(time);
        m_group->addAction(action);
        return action;
    };
    connect(add(QStringLiteral("不提醒(&N)"), "ActionItemTimeOff", QTime()), &QAction::triggered, this,
            [this] { choose(QTime()); });
    for (const auto& [hour, name, key] :
         {std::tuple{9, "ActionItemTime9", u'9'}, std::tuple{12, "ActionItemTime12", u'2'},
          std::tuple{18, "ActionItemTime18", u'8'}}) {
        const QTime time(hour, 0);
        connect(add(DateText::formatTime(time) + QStringLiteral("(&%1)").arg(QChar(key)), name, time),
                &QAction::triggered, this, [this, time] { choose(time); });
    }
    m_other = add(otherCaption + QStringLiteral("(&O)…"), "ActionItemTimeOther", QTime());
    connect(m_other, &QAction::triggered, this, &ItemTimeMenu::askForTime);
    connect(m_menu, &QMenu::aboutToShow, this, &ItemTimeMenu::showChoice);
}

void ItemTimeMenu::showChoice()
{
    const std::optional<AgendaItem> item = m_current();
    m_menu->setEnabled(item.has_value());
    const QTime time = item ? item->time : QTime();
    QAction* chosen = m_other; // unless one of the others says it
    for (QAction* action : m_group->actions())
        if (action != m_other && action->data().toTime() == time)
            chosen = action;
    m_other->setText(otherCaption +
                     (chosen == m_other ? u'（' + DateText::formatTime(time) + u'）' : QString()) +
                     QStringLiteral("(&O)…"));
    chosen->setChecked(item.has_value());
    if (!item)
        for (QAction* action : m_group->actions())
            action->setChecked(false);
}

void ItemTimeMenu::choose(QTime time)
{
    const std::optional<AgendaItem> item = m_current();
    if (!item || item->time == time)
        return;
    if (const Result set = m_session.apply(AgendaChange::setTime(item->text, time)); !set)
        m_messages.inform(set.error());
}

void ItemTimeMenu::askForTime()
{
    const std::optional<AgendaItem> item = m_current();
    if (!item)
        return;
    const QString current = DateText::formatTime(item->time.isValid() ? item->time : QTime(9, 0));
    const std::optional<QString> typed = m_messages.askText(
        QStringLiteral("提醒时间"),
        QStringLiteral("“%1”在完成日期的几点提醒（如 15:30、下午3点）：").arg(item->text), current);
    if (!typed) {
        showChoice();
        return;
    }
    const ResultOf<QTime> time = TimeWords::timeOfDay(*typed);
    if (!time) {
        m_messages.inform(time.error() + QStringLiteral("。提醒时间未更改。"));
        showChoice();
        return;
    }
    choose(*time);
}
