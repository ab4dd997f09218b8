#pragma once

#include "log/core/LogFile.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTime>

#include <optional>

class LogStore;

// One line of my.log read back as the item it archived.
namespace LogEntry {

// The item as it was and the day it was deleted.
struct Entry
{
    QString content;
    QDate setDate;
    QDate finishDate;
    QDate deletionDate;
    QTime time; // the finish date's, when the item had one
};

// Reads a line from its end, so that an item's text may itself hold ": " and "; ". nullopt for a
// line that is no entry (edited by hand, empty).
std::optional<Entry> parse(QStringView line);
// What a find reads of each line: an entry's text and its three dates, or a line that is no entry
// as it is.
struct FindLines
{
    QStringList texts;
    QList<QList<QDate>> dates;
    QList<QTime> times; // an entry's finish time, invalid for none
};
FindLines findLines(const LogFile::Load& lines);
// Line row of the log as last loaded, read as an entry.
std::optional<Entry> at(const LogStore& log, int row);

} // namespace LogEntry
