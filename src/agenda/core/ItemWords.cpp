#include "agenda/core/ItemWords.h"

#include "calendar/core/DateText.h"
#include "calendar/core/DateWords.h"
#include "calendar/core/RepeatWords.h"
#include "calendar/core/TimeWords.h"

#include <QRegularExpression>

namespace ItemWords {

namespace {

// A date as the entry box takes it stays as typed; words become the date they say.
ResultOf<QDate> dateOf(const QString& typed, QDate today, const HolidayCalendar& holidays)
{
    if (const ResultOf<QDate> date = DateText::parse(typed))
        return *date;
    return DateWords::parse(typed, today, holidays);
}

} // namespace

Marked takeMarks(const QString& typed)
{
    static const QRegularExpression mark(
        QStringLiteral("(^|\\s)(?:[#＃]([^\\s#＃]+)|[!！]([高中低]))(?=\\s|$)"));
    Marked marked;
    QString rest;
    qsizetype from = 0;
    QRegularExpressionMatchIterator found = mark.globalMatch(typed);
    while (found.hasNext()) {
        const QRegularExpressionMatch match = found.next();
        rest += QStringView(typed).sliced(from, match.capturedStart() - from);
        rest += match.captured(1);
        from = match.capturedEnd();
        if (match.capturedLength(2) > 0) {
            if (!marked.structure.tags.contains(match.captured(2)))
                marked.structure.tags.append(match.captured(2));
        } else {
            marked.structure.priority = *ItemStructure::priorityNamed(match.captured(3));
        }
    }
    rest += QStringView(typed).sliced(from);
    marked.text = from == 0 ? typed : rest.simplified();
    return marked;
}

QString marksMeaning(const ItemStructure& structure)
{
    QString said;
    if (!structure.tags.isEmpty())
        said += QStringLiteral("，标签：") + structure.tags.join(QStringLiteral("、"));
    if (structure.priority != ItemStructure::NoPriority)
        said += QStringLiteral("，优先级：") + ItemStructure::priorityName(structure.priority);
    return said;
}

ResultOf<Repetition> readRepetition(const QString& typed)
{
    const ResultOf<TimeWords::Said> said = TimeWords::split(typed);
    if (!said)
        return said.result();
    if (said->day.isEmpty())
        return Repetition{{}, said->time};
    const ResultOf<RepeatWords> words = RepeatWords::parse(said->day);
    if (!words)
        return words.result();
    return Repetition{*words, said->time};
}

ResultOf<AgendaItem> read(const QString& text, const QString& setTyped, const QString& finishTyped,
                          const QString& repeatWords, const QDateTime& now, const HolidayCalendar& holidays)
{
    // The time may be said with the finish date or with the repetition (每周五下午5点).
    const ResultOf<TimeWords::Said> finishSaid = TimeWords::split(finishTyped, now);
    if (!finishSaid)
        return finishSaid.result();
    const ResultOf<Repetition> repetition = readRepetition(repeatWords);
    if (!repetition)
        return repetition.result();
    return read(text, setTyped, finishTyped, *repetition, now, holidays);
}

ResultOf<AgendaItem> read(const QString& text, const QString& setTyped, const QString& finishTyped,
                          const Repetition& repetition, const QDateTime& now, const HolidayCalendar& holidays)
{
    const QDate today = now.date();
    const ResultOf<TimeWords::Said> finishSaid = TimeWords::split(finishTyped, now);
    if (!finishSaid)
        return finishSaid.result();
    const QTime time = finishSaid->time.isValid() ? finishSaid->time : repetition.time;
    const RepeatWords& words = repetition.words;
    const ResultOf<QDate> set =
        setTyped.isEmpty() ? ResultOf<QDate>(today) : dateOf(setTyped, today, holidays);
    if (!set)
        return set.result();
    const QString& finishDay = finishSaid->day;
    const ResultOf<QDate> finish =
        !finishDay.isEmpty()             ? dateOf(finishDay, today, holidays)
        : words.kind != RepeatRule::None ? ResultOf<QDate>(firstDay(words, today, holidays))
        : finishSaid->time.isValid()     ? ResultOf<QDate>(TimeWords::nextDay(time, now))
                                         : dateOf(finishDay, today, holidays);
    if (!finish) {
        // Named as typed: the day left once the time is taken out (今晚 as 今天) is not what was said.
        if (finishDay != finishTyped.trimmed())
            return DateWords::parse(finishTyped, today, holidays).result();
        return finish.result();
    }
    const Marked marked = takeMarks(text);
    return AgendaItem{marked.text, *set, *finish, 0, words.ruleFor(*finish), time, marked.structure};
}

namespace {

// The box without its marks.
ResultOf<AgendaItem> readBoxWords(const QString& text, const QString& typed, const QDateTime& now,
                                  const HolidayCalendar& holidays)
{
    // One box: a repetition, from its first day, or the finish date, either with a time.
    if (const ResultOf<TimeWords::Said> said = TimeWords::split(typed, now)) {
        if (const ResultOf<RepeatWords> words = RepeatWords::parse(said->day);
            words && words->kind != RepeatRule::None)
            return read(text, QString(), QString(), Repetition{*words, said->time}, now, holidays);
    }
    return read(text, QString(), typed, Repetition{}, now, holidays);
}

} // namespace

ResultOf<AgendaItem> readBox(const QString& text, const QString& typedWithMarks, const QDateTime& now,
                             const HolidayCalendar& holidays)
{
    const Marked boxMarks = takeMarks(typedWithMarks);
    const QString& typed = boxMarks.text;
    ResultOf<AgendaItem> item = readBoxWords(text, typed, now, holidays);
    if (item) {
        for (const QString& tag : boxMarks.structure.tags)
            if (!item->structure.tags.contains(tag))
                item->structure.tags.append(tag);
        if (boxMarks.structure.priority != ItemStructure::NoPriority)
            item->structure.priority = boxMarks.structure.priority;
    }
    return item;
}

QString meaning(const QString& text, const QString& typed, const QDateTime& now,
                const HolidayCalendar& holidays)
{
    const ResultOf<AgendaItem> item = readBox(text, typed, now, holidays);
    if (!item)
        return item.error();
    QString said = QStringLiteral("→ ") + DateWords::describe(item->finishDate, now.date(), item->time);
    if (item->repeat.kind != RepeatRule::None)
        said += QStringLiteral("，") + RepeatRule::kindName(item->repeat.kind) + QStringLiteral("重复");
    return said + marksMeaning(item->structure);
}

QDate firstDay(const RepeatWords& words, QDate today, const HolidayCalendar& holidays)
{
    // A kind alone keeps today's weekday, day, date or lunar date: today is its first day.
    const RepeatRule rule = words.ruleFor(today);
    return rule.next(today.addDays(-1), holidays);
}

QString added(const AgendaItem& item)
{
    QString done =
        QStringLiteral("已添加：%1（设置 %2，完成 %3")
            .arg(item.text, DateText::format(item.setDate), DateText::format(item.finishDate, item.time));
    if (item.repeat.kind != RepeatRule::None)
        done += QStringLiteral("，%1重复").arg(item.repeat.text());
    if (!item.structure.parent.isEmpty())
        done += QStringLiteral("，属于：") + item.structure.parent;
    return done + marksMeaning(item.structure) + u'）';
}

} // namespace ItemWords
