#pragma once

#include <QByteArray>
#include <QList>

#include <optional>

// An iCalendar text as its content lines (RFC 5545 §3.1), so that a task can be changed one
// property at a time and every other line goes back as it came: libical's writer would split
// "CATEGORIES:a,b" into two lines and turn a property it could not parse into an X-LIC-ERROR.
class IcsLines
{
public:
    struct Line
    {
        QByteArray raw;   // as folded in the text, without its line end
        QByteArray name;  // upper case: "DTSTART"
        QByteArray head;  // the unfolded name and parameters: "DTSTART;TZID=Asia/Shanghai"
        QByteArray value; // the unfolded value
    };

    explicit IcsLines(const QByteArray& text);

    // The first VTODO with that UID (any, for an empty one) and the VCALENDAR around it, a
    // series' own task rather than an occurrence with a RECURRENCE-ID: false when there is none.
    bool findTask(const QByteArray& uid = {});
    // The text of that calendar alone, its task changed, with CR LF line ends.
    QByteArray text() const;

    // The task's own properties of a name, not those of a VALARM inside it.
    QList<const Line*> properties(const QByteArray& name) const;
    // Replaces every such property with lines (none: removed), in the place of the first, or
    // before the task's first inner component when it had none.
    void replace(const QByteArray& name, const QList<QByteArray>& lines);
    // Removes every line of that name anywhere in the text.
    void removeEverywhere(const QByteArray& name);
    // Whether the task holds a component of that name (a VALARM).
    bool hasInner(const QByteArray& component) const;
    // Removes the task's components of that name that hold a property named mark, with their
    // BEGIN and END: the ones this program added.
    void removeInner(const QByteArray& component, const QByteArray& mark);
    // Adds lines at the end of the task, before its END: a component of its own.
    void appendToTask(const QList<QByteArray>& lines);
    // Whether the calendar holds a component of that name with that property's value (a
    // VTIMEZONE with its TZID).
    bool calendarHas(const QByteArray& component, const QByteArray& name, const QByteArray& value) const;
    // Adds lines to the calendar before the task (a VTIMEZONE); a task on its own gets its calendar.
    void insertBeforeTask(const QList<QByteArray>& lines);

    // One content line folded at 75 octets, never inside a UTF-8 sequence.
    static QByteArray fold(const QByteArray& line);

private:
    static Line parse(const QByteArray& raw);
    bool isOwnProperty(qsizetype index) const;
    bool scan(const QByteArray& uid, bool seriesOnly);
    // The unescaped value of the component's own property that begins at begin.
    std::optional<QByteArray> ownValue(qsizetype begin, const QByteArray& name) const;

    QList<Line> m_lines;
    QByteArray m_uid;
    qsizetype m_calendarBegin = -1, m_calendarEnd = -1; // the VCALENDAR's BEGIN and END lines
    qsizetype m_taskBegin = -1, m_taskEnd = -1;
};
