#pragma once

#include "alarm/core/AlarmTable.h"
#include "platform/Result.h"

#include <QStringList>

// A repeating alarm as kestrin.ini keeps it from one run to the next.
struct SavedAlarm
{
    int row = 0;
    QTime time;
    int rings = 0;
    QString prompt;
    Repeat repeat = Repeat::Daily;
    QDateTime snoozedTo; // invalid when not put off

    bool operator==(const SavedAlarm&) const = default;
};

// The repeating alarms in kestrin.ini. One-time alarms end with the run, as they always have.
class SavedAlarms
{
public:
    explicit SavedAlarms(const QString& settingsPath);

    // The alarms that read; a file read in part and each entry that cannot be read are told in
    // problems, one each.
    struct Loaded
    {
        QList<SavedAlarm> alarms;
        QStringList problems;
    };
    Loaded load() const;
    // The alarms of table that outlive the run: the armed repeating ones.
    static QList<SavedAlarm> fromTable(const AlarmTable& table);
    // Replaces every saved alarm by these in one write; the rest of the file stays as it is.
    Result save(const QList<SavedAlarm>& alarms) const;

private:
    QString m_path;
};
