#include "sync/core/TaskCodec.h"

#include <libical/ical.h>

#include <algorithm>
#include <memory>

namespace TaskCodec {

namespace {

struct FreeComponent
{
    void operator()(icalcomponent* c) const { icalcomponent_free(c); }
};
using Component = std::unique_ptr<icalcomponent, FreeComponent>;

Component parse(const QByteArray& ics)
{
    // libical reads a C string: a NUL inside would cut the text short without a word.
    if (ics.contains('\0'))
        return nullptr;
    return Component(icalparser_parse_string(ics.constData()));
}

// The first VTODO: the component itself, or inside a VCALENDAR, or inside the root libical makes
// of text that holds several.
icalcomponent* todoOf(icalcomponent* c)
{
    if (!c)
        return nullptr;
    if (icalcomponent_isa(c) == ICAL_VTODO_COMPONENT)
        return c;
    if (icalcomponent* todo = icalcomponent_get_first_component(c, ICAL_VTODO_COMPONENT))
        return todo;
    return todoOf(icalcomponent_get_first_component(c, ICAL_VCALENDAR_COMPONENT));
}

Component newCalendar()
{
    return Component(icalcomponent_vanew(ICAL_VCALENDAR_COMPONENT, icalproperty_new_version("2.0"),
                                         icalproperty_new_prodid("-//Kestrin//Tidewell//ZH"), nullptr));
}

QDate dateOf(icaltimetype t)
{
    if (icaltime_is_null_time(t) || !icaltime_is_valid_time(t))
        return {};
    return QDate(t.year, t.month, t.day);
}

icaltimetype dateValue(QDate date)
{
    icaltimetype t = icaltime_null_date();
    t.year = date.year();
    t.month = date.month();
    t.day = date.day();
    return t;
}

// The first occurrence of a recurring task on or after today; start when it has no rule or its
// occurrences ended before today.
QDate nextOccurrence(icalcomponent* todo, icaltimetype start, QDate today)
{
    icalproperty* rule = icalcomponent_get_first_property(todo, ICAL_RRULE_PROPERTY);
    if (!rule)
        return dateOf(start);
    icalrecur_iterator* it = icalrecur_iterator_new(icalproperty_get_rrule(rule), start);
    if (!it)
        return dateOf(start);
    QDate found = dateOf(start);
    // A bound, for a rule that yields dates forever without reaching today (a year of seconds).
    for (int i = 0; i < 100000; ++i) {
        const icaltimetype next = icalrecur_iterator_next(it);
        const QDate date = dateOf(next);
        if (!date.isValid())
            break;
        found = date;
        if (date >= today)
            break;
    }
    icalrecur_iterator_free(it);
    return found;
}

void replaceProperty(icalcomponent* todo, icalproperty_kind kind, icalproperty* property)
{
    while (icalproperty* old = icalcomponent_get_first_property(todo, kind)) {
        icalcomponent_remove_property(todo, old);
        icalproperty_free(old);
    }
    if (property)
        icalcomponent_add_property(todo, property);
}

icaltimetype utcValue(const QDateTime& when)
{
    return icaltime_from_timet_with_zone(when.toSecsSinceEpoch(), 0, icaltimezone_get_utc_timezone());
}

} // namespace

void read(ServerTask& task, QDate today, QDate firstSeen)
{
    const Component calendar = parse(task.ics);
    icalcomponent* todo = todoOf(calendar.get());
    if (!todo) {
        task.problem = QStringLiteral("不是一个 iCalendar 任务");
        return;
    }
    task.uid = QString::fromUtf8(icalcomponent_get_uid(todo));
    if (task.uid.isEmpty()) {
        task.problem = QStringLiteral("任务没有 UID");
        return;
    }
    // Such a UID would not come back as it was from libical's writer: the update would be another task.
    if (std::any_of(task.uid.cbegin(), task.uid.cend(),
                    [](QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7f; })) {
        task.problem = QStringLiteral("任务的 UID 含控制字符");
        return;
    }
    task.values.text = QString::fromUtf8(icalcomponent_get_summary(todo));
    task.recurring = icalcomponent_get_first_property(todo, ICAL_RRULE_PROPERTY) != nullptr;
    const icaltimetype start = icalcomponent_get_dtstart(todo);
    const icaltimetype due = icalcomponent_get_due(todo);
    QDate set = dateOf(start);
    QDate finish = dateOf(due);
    if (set.isValid()) {
        const QDate occurrence = nextOccurrence(todo, start, today);
        if (finish.isValid())
            finish = finish.addDays(set.daysTo(occurrence));
        set = occurrence;
    }
    if (!finish.isValid())
        finish = set.isValid() ? set : firstSeen;
    if (!set.isValid())
        set = std::min(firstSeen, finish);
    task.values.set = set;
    task.values.finish = finish;

    const icalproperty_status status = icalcomponent_get_status(todo);
    icalproperty* completed = icalcomponent_get_first_property(todo, ICAL_COMPLETED_PROPERTY);
    task.open = status != ICAL_STATUS_COMPLETED && status != ICAL_STATUS_CANCELLED && !completed;
    if (completed) {
        const icaltimetype when = icalproperty_get_completed(completed);
        if (!icaltime_is_null_time(when))
            task.closedOn = QDateTime::fromSecsSinceEpoch(
                                icaltime_as_timet_with_zone(when, icaltimezone_get_utc_timezone()))
                                .date();
    }
}

QByteArray write(const QByteArray& previous, const QString& uid, const TaskValues& values, bool open,
                 const QDateTime& now)
{
    Component calendar = previous.isEmpty() ? nullptr : parse(previous);
    icalcomponent* todo = todoOf(calendar.get());
    if (!todo || icalcomponent_isa(calendar.get()) != ICAL_VCALENDAR_COMPONENT ||
        icalcomponent_get_parent(todo) != calendar.get()) {
        // A task on its own or among other calendars: written back as one calendar with one task.
        Component fresh = newCalendar();
        icalcomponent* copy = todo ? icalcomponent_new_clone(todo) : icalcomponent_new(ICAL_VTODO_COMPONENT);
        icalcomponent_add_component(fresh.get(), copy);
        calendar = std::move(fresh);
        todo = copy;
    }
    // A task's own UID stays as the server has it: only a new one gets ours.
    if (!icalcomponent_get_first_property(todo, ICAL_UID_PROPERTY))
        icalcomponent_set_uid(todo, uid.toUtf8().constData());
    // One of each: a second SUMMARY or DUE left behind would be read first next time.
    replaceProperty(todo, ICAL_SUMMARY_PROPERTY, icalproperty_new_summary(values.text.toUtf8().constData()));
    replaceProperty(todo, ICAL_DTSTART_PROPERTY, icalproperty_new_dtstart(dateValue(values.set)));
    replaceProperty(todo, ICAL_DUE_PROPERTY, icalproperty_new_due(dateValue(values.finish)));
    icalcomponent_set_dtstamp(todo, utcValue(now));
    replaceProperty(todo, ICAL_LASTMODIFIED_PROPERTY, icalproperty_new_lastmodified(utcValue(now)));
    replaceProperty(todo, ICAL_STATUS_PROPERTY, nullptr);
    if (open) {
        icalcomponent_set_status(todo, ICAL_STATUS_NEEDSACTION);
        replaceProperty(todo, ICAL_COMPLETED_PROPERTY, nullptr);
        replaceProperty(todo, ICAL_PERCENTCOMPLETE_PROPERTY, nullptr);
    } else {
        icalcomponent_set_status(todo, ICAL_STATUS_COMPLETED);
        replaceProperty(todo, ICAL_COMPLETED_PROPERTY, icalproperty_new_completed(utcValue(now)));
        replaceProperty(todo, ICAL_PERCENTCOMPLETE_PROPERTY, icalproperty_new_percentcomplete(100));
    }
    char* text = icalcomponent_as_ical_string_r(calendar.get());
    QByteArray result(text);
    icalmemory_free_buffer(text);
    return result;
}

} // namespace TaskCodec
