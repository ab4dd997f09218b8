#pragma once

#include "find/core/FindQuery.h"

#include <QDate>
#include <QList>
#include <QStringList>

// The lines of a list as a find reads them, read once a load (at its first find, not before):
// typing a word matches against what was read.
class FindIndex
{
public:
    // A new load's lines, and for the log each line's dates.
    void setLines(const QStringList& texts, const QList<QList<QDate>>& dates = {});
    int size() const { return int(m_texts.size()); }
    // The rows that match, in order; all of them, unread, for nothing typed.
    QList<int> matching(const FindQuery& query);

private:
    QStringList m_texts;
    QList<QList<QDate>> m_dates;
    QList<FindKey> m_keys; // read at the first find after setLines
};
