#pragma once

#include "find/core/PinyinReader.h"

#include <QDate>
#include <QList>
#include <QString>

// A line as a find reads it: its text folded (case, full and half width), its pinyin, and for a
// log entry its dates.
struct FindKey
{
    QString text;
    PinyinReader::Syllables syllables;
    QList<QDate> dates;
    QString isoDates; // the dates as 2026-12-05, read once rather than at every key

    static FindKey of(QStringView text, const QList<QDate>& dates = {});
    // Case and width folded, as both a line and what was typed are compared.
    static QString fold(QStringView text);
};
