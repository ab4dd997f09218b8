#pragma once

#include "log/core/LogFile.h"
#include "platform/StoreChange.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

class AgendaStore;
class LogStore;

// Undoing a deletion: an entry of my.log back into the agenda.
namespace LogRestore {

// One entry read back: the item as it was and the day it was deleted.
struct Entry
{
    QString content;
    QDate setDate;
    QDate finishDate;
    QDate deletionDate;
};

// Reads a line from its end, so that an item's text may itself hold ": " and "; ". nullopt for a
// line that is no entry (edited by hand, empty).
std::optional<Entry> parseEntry(QStringView line);
// What a find reads of each line: an entry's text and its three dates, or a line that is no entry
// as it is.
struct FindLines
{
    QStringList texts;
    QList<QList<QDate>> dates;
};
FindLines findLines(const LogFile::Load& lines);
// Line row of the log as last loaded, read as an entry.
std::optional<Entry> entryAt(const LogStore& log, int row);

// Appends line row's item to agenda.txt and then removes that line from my.log. A crash in between
// leaves the item in both files, never in neither. Refused when the agenda did not load, the line
// is no entry, or the agenda holds the text already.
StoreChange restore(AgendaStore& agenda, LogStore& log, int row);

} // namespace LogRestore
