#include "agenda/RepeatMenu.h"

#include "agenda/core/AgendaSession.h"
#include "platform/MessageBoxes.h"

#include <QActionGroup>
#include <QMenu>

namespace {

struct Choice
{
    RepeatRule::Kind kind;
    const char* name;
    QChar key;
};

const Choice choices[] = {
    {RepeatRule::None, "ActionRepeatNone", u'N'},
    {RepeatRule::Daily, "ActionRepeatDaily", u'D'},
    {RepeatRule::Weekly, "ActionRepeatWeekly", u'W'},
    {RepeatRule::Weekdays, "ActionRepeatWeekdays", u'K'},
    {RepeatRule::OfficialWorkdays, "ActionRepeatOfficial", u'O'},
    {RepeatRule::Monthly, "ActionRepeatMonthly", u'M'},
    {RepeatRule::Yearly, "ActionRepeatYearly", u'Y'},
    {RepeatRule::LunarYearly, "ActionRepeatLunar", u'L'},
};

} // namespace

RepeatMenu::RepeatMenu(AgendaSession& session, MessageBoxes& messages,
                       std::function<std::optional<AgendaItem>()> current, QMenu* parentMenu)
    : QObject(parentMenu), m_session(session), m_messages(messages), m_current(std::move(current)),
      m_menu(parentMenu->addMenu(QStringLiteral("重复(&P)"))), m_group(new QActionGroup(this))
{
    m_menu->setObjectName(QStringLiteral("MenuRepeat"));
    for (const Choice& choice : choices) {
        QAction* action = m_menu->addAction(RepeatRule::kindName(choice.kind));
        action->setObjectName(QString::fromLatin1(choice.name));
        action->setCheckable(true);
        action->setData(int(choice.kind));
        m_group->addAction(action);
        connect(action, &QAction::triggered, this, [this, kind = choice.kind] { choose(kind); });
    }
    connect(m_menu, &QMenu::aboutToShow, this, &RepeatMenu::showChoice);
}

QString RepeatMenu::label(const RepeatRule& rule)
{
    const QString days = rule.dayText();
    return RepeatRule::kindName(rule.kind) + (days.isEmpty() ? QString() : u'（' + days + u'）');
}

void RepeatMenu::showChoice()
{
    const std::optional<AgendaItem> item = m_current();
    m_menu->setEnabled(item.has_value());
    for (QAction* action : m_group->actions()) {
        const auto kind = RepeatRule::Kind(action->data().toInt());
        const Choice* choice = std::find_if(std::begin(choices), std::end(choices),
                                            [kind](const Choice& c) { return c.kind == kind; });
        // The rule in force keeps its own day; another kind would take the finish date's.
        const RepeatRule rule = !item                       ? RepeatRule{kind}
                                : item->repeat.kind == kind ? item->repeat
                                                            : RepeatRule::of(kind, item->finishDate);
        action->setText(label(rule) + QStringLiteral("(&%1)").arg(choice->key));
        action->setChecked(item && item->repeat.kind == kind);
    }
}

void RepeatMenu::choose(RepeatRule::Kind kind)
{
    const std::optional<AgendaItem> item = m_current();
    if (!item)
        return;
    const RepeatRule rule = item->repeat.kind == kind ? item->repeat : RepeatRule::of(kind, item->finishDate);
    if (rule == item->repeat)
        return;
    if (const Result set = m_session.apply(AgendaChange::setRepeat(item->text, rule)); !set)
        m_messages.inform(set.error());
}
