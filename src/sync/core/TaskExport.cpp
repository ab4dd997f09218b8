#include "sync/core/TaskExport.h"

#include "sync/core/TaskCodec.h"

#include <QUuid>

namespace TaskExport {

namespace {

// The lines from "BEGIN:name" to "END:name" in text, each block whole.
QList<QByteArray> blocks(const QByteArray& text, const QByteArray& name)
{
    QList<QByteArray> found;
    const QByteArray begin = "BEGIN:" + name + "\r\n", end = "END:" + name + "\r\n";
    for (qsizetype at = text.indexOf(begin); at >= 0; at = text.indexOf(begin, at)) {
        const qsizetype stop = text.indexOf(end, at);
        if (stop < 0)
            break;
        found.append(text.mid(at, stop + end.size() - at));
        at = stop + end.size();
    }
    return found;
}

} // namespace

QString uidFor(const QString& text)
{
    static const QUuid space(QStringLiteral("{6f1c2a4e-0b7d-5e39-9a41-3c2d8e5f7a10}"));
    return QUuid::createUuidV5(space, text).toString(QUuid::WithoutBraces);
}

QByteArray calendar(const QList<AgendaExport::Entry>& entries, const QHash<QString, QString>& uids,
                    const QDateTime& now)
{
    const auto uidOf = [&uids](const QString& text) {
        const QString known = uids.value(text);
        return known.isEmpty() ? uidFor(text) : known;
    };
    QByteArray zones, todos;
    QList<QByteArray> zonesWritten;
    for (const AgendaExport::Entry& entry : entries) {
        const AgendaItem& item = entry.item;
        const TaskValues values{item.text,   item.setDate, item.finishDate,
                                item.repeat, item.time,    item.structure};
        const bool open = !entry.completedOn.isValid();
        // An archived item is completed on its day; its UID is its own, not the open one's of that text.
        const QString uid =
            open ? uidOf(item.text) : uidFor(item.text + u'\n' + entry.completedOn.toString(Qt::ISODate));
        const QByteArray task = TaskCodec::write(
            {}, uid, values, open, open ? now : QDateTime(entry.completedOn, QTime(12, 0)), nullptr,
            item.structure.parent.isEmpty() ? std::optional<QString>() : uidOf(item.structure.parent));
        for (const QByteArray& zone : blocks(task, "VTIMEZONE"))
            if (!zonesWritten.contains(zone)) {
                zonesWritten.append(zone);
                zones += zone;
            }
        for (const QByteArray& todo : blocks(task, "VTODO"))
            todos += todo;
    }
    return "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Kestrin//Tidewell//ZH\r\n" + zones + todos +
           "END:VCALENDAR\r\n";
}

} // namespace TaskExport
