#pragma once

#include "platform/Result.h"

#include <QVariant>

#include <functional>

class QSettings;

// The program's own choices, kept beside the data in an INI file that QSettings reads and writes.
namespace Settings {

inline constexpr char fileName[] = "kestrin.ini";

// Every choice the file keeps, by what it is for; their names in the file are in one table.
enum class Key
{
    RemindTime,       // the daily word's time, HH:mm
    RemindSaid,       // the day of the last daily word
    ItemsToldThrough, // the moment up to which the items' times were reminded of, ISO 8601
    BackupElsewhere,  // the second backup folder
    UnknownYearTold,  // the year whose missing holiday arrangement was told
    Ringtone,         // an alarm's own ringtone, one per alarm
    Alarms,           // the group of the repeating alarms, one subgroup each
    Alarm,            // one repeating alarm's subgroup; the keys below are in it
    AlarmTime,        // HH:mm:ss
    AlarmRings,       // how many rings, 1 to 8
    AlarmRepeat,      // its days: once, daily, weekdays, weekends, official-workdays
    AlarmPrompt,      // what the notice says
    AlarmSnoozed,     // the moment it was put off to, ISO 8601; none when not put off
    FoldedItems,      // the agenda items whose subtasks are not shown, by text
};
// The key's name in the file; row: the alarm, for a key kept per alarm.
QString name(Key key, int row = 0);
// The key's value, or an invalid one when the file has none.
QVariant value(const QString& path, Key key, int row = 0);
// Through change(): a valid value is set, an invalid one removes the key.
Result set(const QString& path, Key key, const QVariant& value, int row = 0);
// Lets look read the whole file; what was read counts even when the check fails, and the check's
// result is returned.
Result read(const QString& path, const std::function<void(QSettings&)>& look);

// Whether settings read their file whole. A file read only in part is never written back: QSettings
// would rewrite it from what it understood. The failure names the file, and the line where it can.
Result check(const QSettings& settings);
// Whether settings' last sync reached the disk.
Result written(const QSettings& settings);
// The one way to write the file: checked first (a file read in part is left byte for byte, and
// the check's failure returned), then edited, then synced and checked to have reached the disk.
Result change(const QString& path, const std::function<void(QSettings&)>& edit);

} // namespace Settings
