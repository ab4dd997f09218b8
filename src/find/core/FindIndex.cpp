#include "find/core/FindIndex.h"

void FindIndex::setLines(const QStringList& texts, const QList<QList<QDate>>& dates)
{
    m_texts = texts;
    m_dates = dates;
    m_keys.clear();
}

QList<int> FindIndex::matching(const FindQuery& query)
{
    QList<int> rows;
    if (query.isEmpty()) {
        for (int i = 0; i < int(m_texts.size()); ++i)
            rows.append(i);
        return rows;
    }
    if (m_keys.size() != m_texts.size()) {
        m_keys.reserve(m_texts.size());
        for (qsizetype i = 0; i < m_texts.size(); ++i)
            m_keys.append(FindKey::of(m_texts[i], i < m_dates.size() ? m_dates[i] : QList<QDate>()));
    }
    for (int i = 0; i < int(m_keys.size()); ++i)
        if (query.matches(m_keys[i]))
            rows.append(i);
    return rows;
}
