#include "sync/core/IcsLines.h"

namespace {

bool isContinuation(char c)
{
    return c == ' ' || c == '\t';
}

QByteArray unfolded(const QByteArray& raw)
{
    QByteArray result;
    result.reserve(raw.size());
    for (qsizetype i = 0; i < raw.size(); ++i) {
        if (raw[i] == '\r' && i + 2 < raw.size() && raw[i + 1] == '\n' && isContinuation(raw[i + 2])) {
            i += 2;
            continue;
        }
        result += raw[i];
    }
    return result;
}

// A TEXT value as it reads (RFC 5545 §3.3.11).
QByteArray unescaped(const QByteArray& value)
{
    QByteArray text;
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] == '\\' && i + 1 < value.size()) {
            ++i;
            text += (value[i] == 'n' || value[i] == 'N') ? '\n' : value[i];
        } else {
            text += value[i];
        }
    }
    return text;
}

bool isComponentLine(const IcsLines::Line& line, const char* name, const char* component)
{
    return line.name == name && line.value.toUpper() == component;
}

} // namespace

IcsLines::IcsLines(const QByteArray& text)
{
    for (QByteArray physical : text.split('\n')) {
        if (physical.endsWith('\r'))
            physical.chop(1);
        if (physical.isEmpty())
            continue;
        if (isContinuation(physical[0]) && !m_lines.isEmpty()) {
            m_lines.last().raw += "\r\n" + physical;
            continue;
        }
        m_lines.append({physical, {}, {}, {}});
    }
    for (Line& line : m_lines)
        line = parse(line.raw);
}

IcsLines::Line IcsLines::parse(const QByteArray& raw)
{
    Line line{raw, {}, {}, {}};
    const QByteArray text = unfolded(raw);
    // The value begins at the first colon outside a quoted parameter value.
    bool quoted = false;
    qsizetype colon = -1;
    for (qsizetype i = 0; i < text.size() && colon < 0; ++i) {
        if (text[i] == '"')
            quoted = !quoted;
        else if (text[i] == ':' && !quoted)
            colon = i;
    }
    line.head = colon < 0 ? text : text.left(colon);
    line.value = colon < 0 ? QByteArray() : text.mid(colon + 1);
    const qsizetype semicolon = line.head.indexOf(';');
    line.name = (semicolon < 0 ? line.head : line.head.left(semicolon)).trimmed().toUpper();
    return line;
}

bool IcsLines::findTask(const QByteArray& uid)
{
    m_uid = uid;
    // A series' own task before the occurrences some clients keep beside it under its UID.
    return scan(uid, true) || scan(uid, false);
}

bool IcsLines::scan(const QByteArray& uid, bool seriesOnly)
{
    m_calendarBegin = m_calendarEnd = m_taskBegin = m_taskEnd = -1;
    QList<qsizetype> calendars; // the BEGIN lines of the VCALENDARs open here
    int depth = 0, taskDepth = -1;
    for (qsizetype i = 0; i < m_lines.size(); ++i) {
        const Line& line = m_lines[i];
        if (line.name == "BEGIN") {
            ++depth;
            if (isComponentLine(line, "BEGIN", "VCALENDAR"))
                calendars.append(i);
            if (m_taskBegin < 0 && isComponentLine(line, "BEGIN", "VTODO") &&
                (uid.isEmpty() || ownValue(i, "UID") == uid) &&
                !(seriesOnly && ownValue(i, "RECURRENCE-ID"))) {
                m_taskBegin = i;
                taskDepth = depth;
                m_calendarBegin = calendars.isEmpty() ? -1 : calendars.last();
            }
        } else if (line.name == "END") {
            if (depth == taskDepth && m_taskEnd < 0)
                m_taskEnd = i;
            if (isComponentLine(line, "END", "VCALENDAR") && !calendars.isEmpty()) {
                if (calendars.last() == m_calendarBegin && m_calendarEnd < 0 && m_taskEnd >= 0)
                    m_calendarEnd = i;
                calendars.removeLast();
            }
            --depth;
        }
    }
    if (m_calendarEnd < 0)
        m_calendarBegin = -1;
    return m_taskBegin >= 0 && m_taskEnd > m_taskBegin;
}

std::optional<QByteArray> IcsLines::ownValue(qsizetype begin, const QByteArray& name) const
{
    int depth = 0;
    for (qsizetype i = begin + 1; i < m_lines.size() && depth >= 0; ++i) {
        const Line& line = m_lines[i];
        if (line.name == "BEGIN")
            ++depth;
        else if (line.name == "END")
            --depth;
        else if (depth == 0 && line.name == name)
            return unescaped(line.value);
    }
    return std::nullopt;
}

bool IcsLines::isOwnProperty(qsizetype index) const
{
    if (index <= m_taskBegin || index >= m_taskEnd)
        return false;
    int depth = 0;
    for (qsizetype i = m_taskBegin + 1; i < index; ++i) {
        if (m_lines[i].name == "BEGIN")
            ++depth;
        else if (m_lines[i].name == "END")
            --depth;
    }
    const QByteArray& name = m_lines[index].name;
    return depth == 0 && name != "BEGIN" && name != "END";
}

QList<const IcsLines::Line*> IcsLines::properties(const QByteArray& name) const
{
    QList<const Line*> found;
    for (qsizetype i = m_taskBegin + 1; i < m_taskEnd; ++i)
        if (m_lines[i].name == name && isOwnProperty(i))
            found.append(&m_lines[i]);
    return found;
}

void IcsLines::replace(const QByteArray& name, const QList<QByteArray>& lines)
{
    qsizetype at = -1;
    for (qsizetype i = m_taskEnd - 1; i > m_taskBegin; --i) {
        if (m_lines[i].name == name && isOwnProperty(i)) {
            m_lines.removeAt(i);
            at = i;
        }
    }
    if (at < 0) {
        at = m_taskBegin + 1;
        while (at < m_taskEnd && m_lines[at].name != "BEGIN" && m_lines[at].name != "END")
            ++at;
    }
    for (const QByteArray& line : lines)
        m_lines.insert(at++, parse(line));
    findTask(m_uid);
}

void IcsLines::removeEverywhere(const QByteArray& name)
{
    m_lines.removeIf([&name](const Line& line) { return line.name == name; });
    findTask(m_uid);
}

bool IcsLines::hasInner(const QByteArray& component) const
{
    for (qsizetype i = m_taskBegin + 1; i < m_taskEnd; ++i)
        if (isComponentLine(m_lines[i], "BEGIN", component.constData()))
            return true;
    return false;
}

void IcsLines::removeInner(const QByteArray& component, const QByteArray& mark)
{
    for (qsizetype i = m_taskBegin + 1; i < m_taskEnd; ++i) {
        if (!isComponentLine(m_lines[i], "BEGIN", component.constData()))
            continue;
        qsizetype end = i + 1;
        bool marked = false;
        while (end < m_taskEnd && !isComponentLine(m_lines[end], "END", component.constData()))
            marked = marked || m_lines[end++].name == mark;
        if (marked && end < m_taskEnd) {
            m_lines.remove(i, end - i + 1);
            m_taskEnd -= end - i + 1;
            --i;
        }
    }
    findTask(m_uid);
}

void IcsLines::appendToTask(const QList<QByteArray>& lines)
{
    qsizetype at = m_taskEnd;
    for (const QByteArray& line : lines)
        m_lines.insert(at++, parse(line));
    findTask(m_uid);
}

bool IcsLines::calendarHas(const QByteArray& component, const QByteArray& name, const QByteArray& value) const
{
    if (m_calendarBegin < 0)
        return false;
    for (qsizetype i = m_calendarBegin + 1; i < m_calendarEnd; ++i)
        if (isComponentLine(m_lines[i], "BEGIN", component.constData()) &&
            ownValue(i, name) == std::optional<QByteArray>(value))
            return true;
    return false;
}

void IcsLines::insertBeforeTask(const QList<QByteArray>& lines)
{
    if (m_calendarBegin < 0) {
        const QByteArray uid = m_uid;
        *this = IcsLines(text());
        findTask(uid);
    }
    qsizetype at = m_taskBegin;
    for (const QByteArray& line : lines)
        m_lines.insert(at++, parse(line));
    findTask(m_uid);
}

QByteArray IcsLines::text() const
{
    QByteArray out;
    const auto append = [&out](const QByteArray& line) { out += line + "\r\n"; };
    if (m_calendarBegin < 0) {
        // A task on its own: written back as the one task of a calendar.
        append("BEGIN:VCALENDAR");
        append("VERSION:2.0");
        append("PRODID:-//Kestrin//Tidewell//ZH");
        for (qsizetype i = m_taskBegin; i <= m_taskEnd; ++i)
            append(m_lines[i].raw);
        append("END:VCALENDAR");
        return out;
    }
    for (qsizetype i = m_calendarBegin; i <= m_calendarEnd; ++i)
        append(m_lines[i].raw);
    return out;
}

QByteArray IcsLines::fold(const QByteArray& line)
{
    QByteArray out;
    qsizetype start = 0, limit = 75;
    while (line.size() - start > limit) {
        qsizetype end = start + limit;
        while (end > start && (uchar(line[end]) & 0xC0) == 0x80)
            --end;
        out += line.mid(start, end - start) + "\r\n ";
        start = end;
        limit = 74;
    }
    return out + line.mid(start);
}
