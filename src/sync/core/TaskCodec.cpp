#include "sync/core/TaskCodec.h"

#include "sync/core/IcsLines.h"
#include "sync/core/TaskRepeat.h"
#include "sync/core/TaskStructure.h"

#include "calendar/core/HolidayCalendar.h"

#include <libical/ical.h>

#include <QTimeZone>

#include <algorithm>
#include <memory>
#include <optional>

namespace TaskCodec {

namespace {

struct FreeComponent
{
    void operator()(icalcomponent* c) const { icalcomponent_free(c); }
};
using Component = std::unique_ptr<icalcomponent, FreeComponent>;

const QByteArray newTask = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Kestrin//Tidewell//ZH\r\n"
                           "BEGIN:VTODO\r\nEND:VTODO\r\nEND:VCALENDAR\r\n";

Component parse(const QByteArray& ics)
{
    // libical reads a C string: a NUL inside would cut the text short without a word.
    if (ics.contains('\0'))
        return nullptr;
    return Component(icalparser_parse_string(ics.constData()));
}

bool isOccurrence(icalcomponent* todo)
{
    return icalcomponent_get_first_property(todo, ICAL_RECURRENCEID_PROPERTY) != nullptr;
}

// The first VTODO: the component itself, or inside a VCALENDAR, or inside the root libical makes
// of text that holds several; a series' own task before an occurrence kept beside it.
icalcomponent* todoOf(icalcomponent* c)
{
    if (!c)
        return nullptr;
    if (icalcomponent_isa(c) == ICAL_VTODO_COMPONENT)
        return c;
    icalcomponent* first = icalcomponent_get_first_component(c, ICAL_VTODO_COMPONENT);
    for (icalcomponent* todo = first; todo; todo = icalcomponent_get_next_component(c, ICAL_VTODO_COMPONENT))
        if (!isOccurrence(todo))
            return todo;
    if (first)
        return first;
    return todoOf(icalcomponent_get_first_component(c, ICAL_VCALENDAR_COMPONENT));
}

// An event, a journal or free-busy time: a calendar object that is simply not a task.
bool hasOtherComponent(icalcomponent* c)
{
    const icalcomponent_kind kind = icalcomponent_isa(c);
    if (kind == ICAL_VEVENT_COMPONENT || kind == ICAL_VJOURNAL_COMPONENT || kind == ICAL_VFREEBUSY_COMPONENT)
        return true;
    return icalcomponent_get_first_component(c, ICAL_VEVENT_COMPONENT) ||
           icalcomponent_get_first_component(c, ICAL_VJOURNAL_COMPONENT) ||
           icalcomponent_get_first_component(c, ICAL_VFREEBUSY_COMPONENT);
}

// The zone of a DATE-TIME: the VTIMEZONE the calendar gives for its TZID, else the system's zone of
// that name, also behind the prefix some clients put before it ("/mozilla.org/20050126_1/Asia/
// Shanghai"); none for UTC's own marker or a floating time, which is local.
const icaltimezone* zoneOf(icalproperty* property, icaltimetype time)
{
    if (time.zone || !property)
        return time.zone;
    icalparameter* tzid = icalproperty_get_first_parameter(property, ICAL_TZID_PARAMETER);
    if (!tzid || !icalparameter_get_tzid(tzid))
        return nullptr;
    const QByteArray id = icalparameter_get_tzid(tzid);
    for (qsizetype from = 0; from >= 0 && from < id.size();) {
        if (icaltimezone* zone = icaltimezone_get_builtin_timezone(id.mid(from).constData()))
            return zone;
        from = id.indexOf('/', from);
        if (from >= 0)
            ++from;
    }
    return nullptr;
}

// A DTSTART or DUE as the task holds it, and the date it falls on here.
struct Moment
{
    icaltimetype time = icaltime_null_time();
    const icaltimezone* zone = nullptr;
    QDate local;
    bool valid() const { return local.isValid(); }
};

QDate localDate(icaltimetype t, const icaltimezone* zone)
{
    if (icaltime_is_null_time(t) || !icaltime_is_valid_time(t))
        return {};
    if (t.is_date || !zone)
        return QDate(t.year, t.month, t.day);
    return QDateTime::fromSecsSinceEpoch(icaltime_as_timet_with_zone(t, zone)).date();
}

Moment momentOf(icaltimetype time, icalproperty* property)
{
    Moment moment;
    moment.time = time;
    moment.zone = zoneOf(property, time);
    moment.local = localDate(time, moment.zone);
    return moment;
}

Moment startOf(icalcomponent* todo)
{
    return momentOf(icalcomponent_get_dtstart(todo),
                    icalcomponent_get_first_property(todo, ICAL_DTSTART_PROPERTY));
}

// DUE, or DTSTART with DURATION, in the zone of the property it comes from.
Moment dueOf(icalcomponent* todo)
{
    icalproperty* due = icalcomponent_get_first_property(todo, ICAL_DUE_PROPERTY);
    return momentOf(icalcomponent_get_due(todo),
                    due ? due : icalcomponent_get_first_property(todo, ICAL_DTSTART_PROPERTY));
}

// The first occurrence of a recurring task on or after today; start when it has no rule or its
// occurrences ended before today.
QDate nextOccurrence(icalcomponent* todo, const Moment& start, QDate today)
{
    icalproperty* rule = icalcomponent_get_first_property(todo, ICAL_RRULE_PROPERTY);
    if (!rule)
        return start.local;
    icalrecur_iterator* it = icalrecur_iterator_new(icalproperty_get_rrule(rule), start.time);
    if (!it)
        return start.local;
    QDate found = start.local;
    // A bound, for a rule that yields dates forever without reaching today (a year of seconds).
    for (int i = 0; i < 100000; ++i) {
        const QDate date = localDate(icalrecur_iterator_next(it), start.zone);
        if (!date.isValid())
            break;
        found = date;
        if (date >= today)
            break;
    }
    icalrecur_iterator_free(it);
    return found;
}

bool isOpen(icalcomponent* todo)
{
    const icalproperty_status status = icalcomponent_get_status(todo);
    return status != ICAL_STATUS_COMPLETED && status != ICAL_STATUS_CANCELLED &&
           !icalcomponent_get_first_property(todo, ICAL_COMPLETED_PROPERTY);
}

QDate completedOn(icalcomponent* todo)
{
    icalproperty* completed = icalcomponent_get_first_property(todo, ICAL_COMPLETED_PROPERTY);
    if (!completed)
        return {};
    const icaltimetype when = icalproperty_get_completed(completed);
    if (icaltime_is_null_time(when))
        return {};
    return QDateTime::fromSecsSinceEpoch(icaltime_as_timet_with_zone(when, icaltimezone_get_utc_timezone()))
        .date();
}

// The rule the series' task holds, finish being its due date here.
RepeatRule ruleOf(icalcomponent* todo, QDate finish)
{
    icalproperty* rule = icalcomponent_get_first_property(todo, ICAL_RRULE_PROPERTY);
    QByteArray own;
    for (icalproperty* x = icalcomponent_get_first_property(todo, ICAL_X_PROPERTY); x && own.isEmpty();
         x = icalcomponent_get_next_property(todo, ICAL_X_PROPERTY))
        if (qstrcmp(icalproperty_get_x_name(x), TaskRepeat::property) == 0 && icalproperty_get_x(x))
            own = icalproperty_get_x(x);
    const char* rrule = rule ? icalproperty_get_value_as_string(rule) : nullptr;
    return TaskRepeat::held(rrule ? QByteArray(rrule) : QByteArray(), own, finish);
}

// The latest occurrence completed beside a series (as some clients keep them: a VTODO of the same
// UID with a RECURRENCE-ID): the date it was due here, and the day it was done, when it says.
struct DoneOccurrence
{
    QDate due;
    QDate on;
};

std::optional<DoneOccurrence> lastDoneOccurrence(icalcomponent* series, const Moment& start,
                                                 const Moment& due)
{
    icalcomponent* parent = icalcomponent_get_parent(series);
    if (!parent)
        return std::nullopt;
    const QByteArray uid = icalcomponent_get_uid(series);
    // An occurrence without a DUE of its own is due as far after its start as the series is.
    const qint64 length = start.valid() && due.valid() ? start.local.daysTo(due.local) : 0;
    std::optional<DoneOccurrence> last;
    for (icalcomponent* todo = icalcomponent_get_first_component(parent, ICAL_VTODO_COMPONENT); todo;
         todo = icalcomponent_get_next_component(parent, ICAL_VTODO_COMPONENT)) {
        if (todo == series || !isOccurrence(todo) || isOpen(todo) || uid != icalcomponent_get_uid(todo))
            continue;
        QDate date = dueOf(todo).local;
        if (!date.isValid() || !icalcomponent_get_first_property(todo, ICAL_DUE_PROPERTY)) {
            icalproperty* id = icalcomponent_get_first_property(todo, ICAL_RECURRENCEID_PROPERTY);
            date = momentOf(icalproperty_get_recurrenceid(id), id).local.addDays(length);
        }
        if (date.isValid() && (!last || date > last->due))
            last = DoneOccurrence{date, completedOn(todo)};
    }
    return last;
}

Component newCalendar()
{
    return Component(icalcomponent_vanew(ICAL_VCALENDAR_COMPONENT, icalproperty_new_version("2.0"),
                                         icalproperty_new_prodid("-//Kestrin//Tidewell//ZH"), nullptr));
}

QByteArray textOf(icalcomponent* component)
{
    char* text = icalcomponent_as_ical_string_r(component);
    QByteArray result(text);
    icalmemory_free_buffer(text);
    return result;
}

// A property as one folded content line, written by libical so that its text is escaped.
QByteArray lineOf(icalproperty* property)
{
    char* text = icalproperty_as_ical_string_r(property);
    QByteArray line(text);
    icalmemory_free_buffer(text);
    icalproperty_free(property);
    while (line.endsWith('\n') || line.endsWith('\r'))
        line.chop(1);
    return line;
}

icaltimetype utcValue(const QDateTime& when)
{
    return icaltime_from_timet_with_zone(when.toSecsSinceEpoch(), 0, icaltimezone_get_utc_timezone());
}

QByteArray valueText(icaltimetype t)
{
    const QByteArray date = QByteArray::number(t.year).rightJustified(4, '0') +
                            QByteArray::number(t.month).rightJustified(2, '0') +
                            QByteArray::number(t.day).rightJustified(2, '0');
    if (t.is_date)
        return date;
    return date + 'T' + QByteArray::number(t.hour).rightJustified(2, '0') +
           QByteArray::number(t.minute).rightJustified(2, '0') +
           QByteArray::number(t.second).rightJustified(2, '0') + (icaltime_is_utc(t) ? "Z" : "");
}

icaltimetype movedTo(const Moment& moment, QDate wanted)
{
    icaltimetype t = moment.time;
    icaltime_adjust(&t, int(moment.local.daysTo(wanted)), 0, 0, 0);
    return t;
}

// Moves DTSTART or DUE to the date wanted here. A value on that date already is left as it came; a
// DATE-TIME keeps its time of day and zone, only its date moves. One the task lacks is added in the
// type of the other (RFC 5545 wants both of one type), unless its date is the one agreed before.
void moveDate(IcsLines& ics, const QByteArray& name, const Moment& own, const QByteArray& otherName,
              const Moment& other, QDate wanted, const QDate* agreed)
{
    const QList<const IcsLines::Line*> lines = ics.properties(name);
    if (!lines.isEmpty() && own.valid()) {
        if (lines.size() == 1 && own.local == wanted)
            return;
        ics.replace(name, {IcsLines::fold(lines.first()->head + ':' + valueText(movedTo(own, wanted)))});
        return;
    }
    if (lines.isEmpty() && agreed && *agreed == wanted)
        return;
    const QList<const IcsLines::Line*> others = ics.properties(otherName);
    if (other.valid() && !other.time.is_date && others.size() == 1) {
        const QByteArray head = name + others.first()->head.mid(otherName.size());
        ics.replace(name, {IcsLines::fold(head + ':' + valueText(movedTo(other, wanted)))});
    } else {
        icaltimetype date = icaltime_null_date();
        date.year = wanted.year();
        date.month = wanted.month();
        date.day = wanted.day();
        ics.replace(name, {name + ";VALUE=DATE:" + valueText(date)});
    }
    // A DUE and a DURATION together are not allowed; the DUE says it now.
    if (name == "DUE")
        ics.replace("DURATION", {});
}

// The moment a DTSTART or DUE with a time stands for, here; none for a date.
QDateTime momentAt(const Moment& moment)
{
    const icaltimetype& t = moment.time;
    if (!moment.valid() || t.is_date)
        return {};
    if (moment.zone)
        return QDateTime::fromSecsSinceEpoch(icaltime_as_timet_with_zone(t, moment.zone));
    return QDateTime(QDate(t.year, t.month, t.day), QTime(t.hour, t.minute, t.second)); // floating: local
}

// The zone the machine's times are written in: its own by name, with the VTIMEZONE libical makes
// for it; UTC (written with a Z) when it has no name libical knows.
QByteArray ownZoneId()
{
    const QByteArray id = QTimeZone::systemTimeZoneId();
    if (id.isEmpty() || id == "UTC" || id == "Etc/UTC" || !icaltimezone_get_builtin_timezone(id.constData()))
        return {};
    return id;
}

// The VTIMEZONE of a zone as content lines, its TZID the plain name the DUE gives.
QList<QByteArray> zoneLines(const QByteArray& id)
{
    icaltimezone* zone = icaltimezone_get_builtin_timezone(id.constData());
    icalcomponent* component = zone ? icaltimezone_get_component(zone) : nullptr;
    if (!component)
        return {};
    QList<QByteArray> lines;
    for (QByteArray physical : textOf(component).split('\n')) {
        if (physical.endsWith('\r'))
            physical.chop(1);
        if (physical.isEmpty())
            continue;
        if ((physical[0] == ' ' || physical[0] == '\t') && !lines.isEmpty())
            lines.last() += "\r\n" + physical;
        else
            lines.append(physical.startsWith("TZID:") ? "TZID:" + id : physical);
    }
    return lines;
}

// The property written for a moment here: DUE;TZID=Asia/Shanghai:20261210T150000, or in UTC.
QByteArray dateTimeLine(const QByteArray& name, const QDateTime& when)
{
    const QByteArray zone = ownZoneId();
    if (zone.isEmpty())
        return name + ':' + when.toUTC().toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'")).toLatin1();
    return name + ";TZID=" + zone + ':' + when.toString(QStringLiteral("yyyyMMdd'T'HHmmss")).toLatin1();
}

QByteArray dateLine(const QByteArray& name, QDate date)
{
    return name + ";VALUE=DATE:" + date.toString(QStringLiteral("yyyyMMdd")).toLatin1();
}

// The mark on the alarm this program adds for an item's time, so that it alone goes with the time.
const QByteArray ownAlarm = "X-KESTRIN-ALARM";
// The mark on a DUE that is a DATE-TIME only because DTSTART is one (RFC 5545 wants both of one
// type): its time of day is not the item's, which has none.
const QByteArray dateOnly = "X-KESTRIN-DATE-ONLY";

// Whether the task's one DTSTART, as the lines hold it now, is a date; none for no such line.
std::optional<bool> startIsDate(const IcsLines& ics)
{
    const QList<const IcsLines::Line*> starts = ics.properties("DTSTART");
    if (starts.size() != 1)
        return std::nullopt;
    return !starts.first()->value.contains('T');
}

// The item's time of day as the task's due time: a time set here makes DUE a DATE-TIME in this
// machine's zone (DTSTART of the same type, as RFC 5545 wants), with an alarm at that moment unless
// the task has one of its own, which stays as it is (one relative to the due time follows it); no
// time makes them dates again and takes our alarm away. A DUE whose time of day here is the item's stays as
// the phone wrote it, zone and all.
void setDueTime(IcsLines& ics, const Moment& due, const TaskValues& values)
{
    const QList<const IcsLines::Line*> dues = ics.properties("DUE");
    const bool marked = dues.size() == 1 && dues.first()->head.contains(';' + dateOnly + '=');
    const QDateTime had = marked ? QDateTime() : momentAt(due);
    const QTime hadTime =
        had.isValid() ? QTime(had.time().hour(), had.time().minute(), had.time().second()) : QTime();
    if (values.time != hadTime) {
        if (values.time.isValid()) {
            const QByteArray zone = ownZoneId();
            if (!zone.isEmpty() && !ics.calendarHas("VTIMEZONE", "TZID", zone))
                ics.insertBeforeTask(zoneLines(zone));
            ics.replace("DUE", {dateTimeLine("DUE", QDateTime(values.finish, values.time))});
            if (startIsDate(ics) == true)
                ics.replace("DTSTART", {dateTimeLine("DTSTART", QDateTime(values.set, QTime(0, 0)))});
        } else {
            ics.replace("DUE", {dateLine("DUE", values.finish)});
            if (startIsDate(ics) == false)
                ics.replace("DTSTART", {dateLine("DTSTART", values.set)});
        }
        ics.replace("DURATION", {});
        // A time given here rings there too; a phone's task that came with a time and no alarm
        // keeps having none.
        if (values.time.isValid() && !ics.hasInner("VALARM"))
            ics.appendToTask({"BEGIN:VALARM", "ACTION:DISPLAY",
                              lineOf(icalproperty_new_description(values.text.toUtf8().constData())),
                              "TRIGGER;RELATED=END:PT0S", ownAlarm + ":TRUE", "END:VALARM"});
    }
    if (!values.time.isValid()) {
        ics.removeInner("VALARM", ownAlarm);
        // A DUE beside a timed DTSTART is a DATE-TIME too, at the start's time of day (moveDate
        // gave it that) and marked as saying no time of the item's; beside a date, a date.
        const QList<const IcsLines::Line*> nowDue = ics.properties("DUE");
        if (nowDue.size() == 1 && nowDue.first()->value.contains('T')) {
            const IcsLines::Line& dueLine = *nowDue.first();
            if (startIsDate(ics) != false)
                ics.replace("DUE", {dateLine("DUE", values.finish)});
            else if (!dueLine.head.contains(';' + dateOnly + '='))
                ics.replace("DUE",
                            {IcsLines::fold(dueLine.head + ';' + dateOnly + "=TRUE:" + dueLine.value)});
        }
    }
}

// Whether due, a task's DUE, says a time of the item's: not when there is none, nor when marked as
// timed for its DTSTART's sake alone.
bool dueSaysTime(icalproperty* due)
{
    if (!due)
        return false;
    for (icalparameter* p = icalproperty_get_first_parameter(due, ICAL_X_PARAMETER); p;
         p = icalproperty_get_next_parameter(due, ICAL_X_PARAMETER))
        if (qstricmp(icalparameter_get_xname(p), dateOnly.constData()) == 0)
            return false;
    return true;
}

} // namespace

void read(ServerTask& task, QDate today, QDate firstSeen)
{
    const Component calendar = parse(task.ics);
    icalcomponent* todo = todoOf(calendar.get());
    if (!todo) {
        task.notATask = calendar && hasOtherComponent(calendar.get());
        if (!task.notATask)
            task.readable = Result::failed(QStringLiteral("不是一个 iCalendar 任务"));
        return;
    }
    task.uid = QString::fromUtf8(icalcomponent_get_uid(todo));
    if (task.uid.isEmpty()) {
        task.readable = Result::failed(QStringLiteral("任务没有 UID"));
        return;
    }
    // Such a UID would not come back as it was from libical's writer: the update would be another task.
    if (std::any_of(task.uid.cbegin(), task.uid.cend(),
                    [](QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7f; })) {
        task.readable = Result::failed(QStringLiteral("任务的 UID 含控制字符"));
        return;
    }
    task.values.text = QString::fromUtf8(icalcomponent_get_summary(todo));
    const Moment start = startOf(todo);
    QDate set = start.local;
    QDate finish = dueOf(todo).local;
    task.values.repeat = ruleOf(todo, finish.isValid() ? finish : set);
    task.recurring = task.values.repeat.kind == RepeatRule::None &&
                     icalcomponent_get_first_property(todo, ICAL_RRULE_PROPERTY) != nullptr;
    if (task.recurring && set.isValid()) {
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
    // A rule the agenda holds: the series' own dates are this occurrence, unless an occurrence
    // completed beside it is this one or a later: then the one after it, as a completion here.
    if (task.values.repeat.kind != RepeatRule::None) {
        if (const auto done = lastDoneOccurrence(todo, start, dueOf(todo)); done && done->due >= finish) {
            const QDate on = done->on.isValid() ? done->on : done->due;
            task.values.finish = task.values.repeat.following(done->due, on, HolidayCalendar::builtIn());
            task.values.set = std::min(on, task.values.finish);
            task.closedOn = done->on;
        }
    }

    {
        // The lines are read again only for a relation, which libical's reading may lose the type of.
        IcsLines lines(task.ics.contains("RELATED-TO") ? task.ics : QByteArray());
        if (!task.ics.contains("RELATED-TO") || lines.findTask(task.uid.toUtf8())) {
            const TaskStructure::Read structure = TaskStructure::read(lines, todo);
            task.parentUid = structure.parentUid;
            task.childUids = structure.childUids;
            task.values.structure.priority = structure.priority;
            task.values.structure.tags = structure.tags;
        }
    }
    task.open = isOpen(todo);
    // A due time is the item's time of day, here; a phone's own alarm before it rings there. A
    // start alone says none, nor a DUE marked as timed only for the start's sake.
    if (const QDateTime due = momentAt(dueOf(todo));
        due.isValid() && dueSaysTime(icalcomponent_get_first_property(todo, ICAL_DUE_PROPERTY)))
        task.values.time = QTime(due.time().hour(), due.time().minute(), due.time().second());
    if (!task.open)
        task.closedOn = completedOn(todo);
}

QByteArray write(const QByteArray& previous, const QString& uid, const TaskValues& values, bool open,
                 const QDateTime& now, const TaskValues* before, const std::optional<QString>& parentUid)
{
    // The task libical reads is the one changed, found among the lines by its UID.
    const Component calendar = parse(previous);
    icalcomponent* todo = todoOf(calendar.get());
    const char* ownUid = todo ? icalcomponent_get_uid(todo) : nullptr;
    const QByteArray uidText = ownUid ? QByteArray(ownUid) : QByteArray();
    IcsLines ics(previous);
    bool found = todo && ics.findTask(uidText);
    if (todo && !found) {
        // Lines too tangled to find it by: the task as libical writes it, in a calendar of its own.
        const Component alone = newCalendar();
        icalcomponent_add_component(alone.get(), icalcomponent_new_clone(todo));
        ics = IcsLines(textOf(alone.get()));
        found = ics.findTask(uidText);
    }
    if (!found) {
        ics = IcsLines(newTask);
        ics.findTask();
        todo = nullptr;
    }
    // libical marks what it could not parse; its marks are not the task's.
    ics.removeEverywhere("X-LIC-ERROR");
    TaskStructure::write(ics, TaskStructure::read(ics, todo), values.structure, parentUid);

    // A task's own UID stays as the server has it: only a new one gets ours.
    if (ics.properties("UID").isEmpty())
        ics.replace("UID", {lineOf(icalproperty_new_uid(uid.toUtf8().constData()))});
    // One of each: a second SUMMARY or DUE left behind would be read first next time.
    const QString summary = todo ? QString::fromUtf8(icalcomponent_get_summary(todo)) : QString();
    if (ics.properties("SUMMARY").size() != 1 || taskText(summary) != taskText(values.text))
        ics.replace("SUMMARY", {lineOf(icalproperty_new_summary(values.text.toUtf8().constData()))});
    const Moment start = todo ? startOf(todo) : Moment{};
    Moment due = todo ? dueOf(todo) : Moment{};
    if (todo && !icalcomponent_get_first_property(todo, ICAL_DUE_PROPERTY))
        due = {}; // derived from a DURATION: there is no DUE line to keep
    // A rule changed here replaces the task's; one the agenda cannot hold stays as the phone wrote it.
    const QDate held = due.valid() ? due.local : start.local;
    if (values.repeat != (todo ? ruleOf(todo, held) : RepeatRule{})) {
        const QByteArray rrule = TaskRepeat::rrule(values.repeat);
        ics.replace("RRULE", rrule.isEmpty() ? QList<QByteArray>{} : QList<QByteArray>{"RRULE:" + rrule});
        ics.replace("RDATE", {});
        ics.replace("EXDATE", {});
    }
    // Ours goes beside the RRULE: the truth where a phone's is only the nearest.
    const QByteArray own = TaskRepeat::ownValue(values.repeat);
    const QList<const IcsLines::Line*> owned = ics.properties(TaskRepeat::property);
    if (own.isEmpty() ? !owned.isEmpty() : owned.size() != 1 || owned.first()->value != own)
        ics.replace(TaskRepeat::property,
                    own.isEmpty() ? QList<QByteArray>{}
                                  : QList<QByteArray>{IcsLines::fold(TaskRepeat::property + (':' + own))});
    moveDate(ics, "DTSTART", start, "DUE", due, values.set, before ? &before->set : nullptr);
    moveDate(ics, "DUE", due, "DTSTART", start, values.finish, before ? &before->finish : nullptr);
    setDueTime(ics, due, values);

    if (!todo || open != isOpen(todo)) {
        ics.replace("STATUS", {lineOf(icalproperty_new_status(open ? ICAL_STATUS_NEEDSACTION
                                                                   : ICAL_STATUS_COMPLETED))});
        ics.replace("COMPLETED", open ? QList<QByteArray>{}
                                      : QList<QByteArray>{lineOf(icalproperty_new_completed(utcValue(now)))});
        ics.replace("PERCENT-COMPLETE",
                    open ? QList<QByteArray>{}
                         : QList<QByteArray>{lineOf(icalproperty_new_percentcomplete(100))});
    }
    ics.replace("DTSTAMP", {lineOf(icalproperty_new_dtstamp(utcValue(now)))});
    ics.replace("LAST-MODIFIED", {lineOf(icalproperty_new_lastmodified(utcValue(now)))});
    return ics.text();
}

} // namespace TaskCodec
