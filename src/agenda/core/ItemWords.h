#pragma once

#include "agenda/core/AgendaItem.h"
#include "calendar/core/RepeatWords.h"
#include "platform/Result.h"

#include <QDateTime>

class HolidayCalendar;

// An item to add as a person types it on the command line or in the quick-add window, read once
// into the item itself: what goes on to be written (here or by the running copy) is dates and a
// rule, never words again.
namespace ItemWords {

// The marks in typed words: #标签 (after a space or at the start, up to the next space) and !高, ！中,
// !低 (a word of their own), taken out of the text and read into a structure. "写周报 #工作 !高"
// gives 写周报 with the tag 工作 and the priority 高; "学C#" keeps its #.
struct Marked
{
    QString text;
    ItemStructure structure;
};
Marked takeMarks(const QString& typed);
// What the marks said, for a preview: "，标签：工作，优先级：高"; empty for none.
QString marksMeaning(const ItemStructure& structure);

// text may carry the marks above. setTyped and finishTyped as the entry boxes take them (2026-12-20) or in
// words (明天, 周五, 12月20日…), the finish with a time of day or as one alone (明天下午3点, 15:30: the next
// such moment); an empty set is today. repeatWords as RepeatWords reads them, empty for none, and may say the
// time instead (每周五下午5点); with them an empty finish is the repetition's first day (firstDay).
ResultOf<AgendaItem> read(const QString& text, const QString& setTyped, const QString& finishTyped,
                          const QString& repeatWords, const QDateTime& now, const HolidayCalendar& holidays);
// A repetition as typed, read once: its kind and day, and the time it may say (每周五下午5点).
struct Repetition
{
    RepeatWords words;
    QTime time; // invalid when none was said
};
ResultOf<Repetition> readRepetition(const QString& typed);
// The same as read, the repetition read already.
ResultOf<AgendaItem> read(const QString& text, const QString& setTyped, const QString& finishTyped,
                          const Repetition& repetition, const QDateTime& now,
                          const HolidayCalendar& holidays);
// The quick-add window's one box: a finish date or a repetition that says its day, either with a
// time; marks in either box count.
ResultOf<AgendaItem> readBox(const QString& text, const QString& typed, const QDateTime& now,
                             const HolidayCalendar& holidays);
// What the box says, as the window shows it under the box: "→ 2026-12-10 星期四 15:00（明天）",
// "→ …，每周重复", or why it cannot be read.
QString meaning(const QString& text, const QString& typed, const QDateTime& now,
                const HolidayCalendar& holidays);
// The first day of a repetition from today, today included: what a repeating item given no finish
// date finishes on.
QDate firstDay(const RepeatWords& words, QDate today, const HolidayCalendar& holidays);
// 已添加：写周报（设置 2026-12-09，完成 2026-12-11，每周五重复）
QString added(const AgendaItem& item);

} // namespace ItemWords
