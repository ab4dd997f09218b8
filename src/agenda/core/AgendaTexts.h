#pragma once

#include "agenda/core/AgendaItem.h"

#include <QString>

class HolidayCalendar;

// The sentences that sum the agenda up for the user.
namespace AgendaTexts {

QString overdueSentence(int overdueCount);
QString remark(int overdueCount);
QString trayTip(int overdueCount);
QString daysLeft(int days);
// One item for scripts: finish date, days left (overdue marked as on the panel) and text, two
// spaces a level before a subtask's, by tabs; then a repeating item's rule; then, for an item with
// a priority or tags, the rule's column (empty when it has none), the priority and the tags by commas.
QString listLine(const AgendaItem& item, int depth = 0);
// 重复：每周五（下次 2026-12-18）; empty for an item that does not repeat.
QString repeatLine(const AgendaItem& item, const HolidayCalendar& holidays);
// 提醒：12月10日 15:00, with the next occurrence's for a repeating item; empty without a time.
QString reminderLine(const AgendaItem& item, const HolidayCalendar& holidays);
// What find looks in: the text, then #tag for each tag and !高 for a priority, so that #工作 and
// !高 find as words do.
QString findText(const AgendaItem& item);
// 属于：装修, 优先级：高, 标签：工作、家庭: what an item has of each, a line each.
QStringList structureLines(const ItemStructure& structure);
// An agenda line's tool tip: its text, its dates as a person reads them (weekday, lunar date,
// holiday or solar term), its rule, its reminder, its parent, priority and tags.
QString lineTip(const AgendaItem& item, const HolidayCalendar& holidays);
// What a screen reader adds to the line's text: its rule, its reminder, its parent, priority and tags.
QString lineDescription(const AgendaItem& item, const HolidayCalendar& holidays);

} // namespace AgendaTexts
