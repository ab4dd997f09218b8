#include "agenda/core/ItemWords.h"

#include "calendar/core/DateText.h"
#include "calendar/core/DateWords.h"
#include "calendar/core/RepeatWords.h"

namespace ItemWords {

namespace {

// A date as the entry box takes it stays as typed; words become the date they say.
ResultOf<QDate> dateOf(const QString& typed, QDate today, const HolidayCalendar& holidays)
{
    if (const std::optional<QDate> date = DateText::parse(typed))
        return *date;
    return DateWords::parse(typed, today, holidays);
}

} // namespace

ResultOf<AgendaItem> read(const QString& text, const QString& setTyped, const QString& finishTyped,
                          const QString& repeatWords, QDate today, const HolidayCalendar& holidays)
{
    const ResultOf<RepeatWords> words =
        repeatWords.isEmpty() ? ResultOf<RepeatWords>(RepeatWords{}) : RepeatWords::parse(repeatWords);
    if (!words)
        return words.result();
    const ResultOf<QDate> set =
        setTyped.isEmpty() ? ResultOf<QDate>(today) : dateOf(setTyped, today, holidays);
    if (!set)
        return set.result();
    const ResultOf<QDate> finish = finishTyped.isEmpty() && words->kind != RepeatRule::None
                                       ? ResultOf<QDate>(firstDay(*words, today, holidays))
                                       : dateOf(finishTyped, today, holidays);
    if (!finish)
        return finish.result();
    return AgendaItem{text, *set, *finish, 0, words->ruleFor(*finish)};
}

QDate firstDay(const RepeatWords& words, QDate today, const HolidayCalendar& holidays)
{
    // A kind alone keeps today's weekday, day, date or lunar date: today is its first day.
    const RepeatRule rule = words.ruleFor(today);
    return rule.next(today.addDays(-1), holidays);
}

QString added(const AgendaItem& item)
{
    QString done = QStringLiteral("已添加：%1（设置 %2，完成 %3")
                       .arg(item.text, DateText::format(item.setDate), DateText::format(item.finishDate));
    if (item.repeat.kind != RepeatRule::None)
        done += QStringLiteral("，%1重复").arg(item.repeat.text());
    return done + u'）';
}

} // namespace ItemWords
