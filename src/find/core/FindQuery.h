#pragma once

#include "find/core/PinyinReader.h"

#include <QDate>
#include <QList>
#include <QString>

#include <optional>

// A line as a find reads it: its text folded (case, full and half width), its pinyin, and for a
// log entry its dates.
struct FindKey
{
    QString text;
    PinyinReader::Syllables syllables;
    QList<QDate> dates;
    QString isoDates; // the dates as 2026-12-05, read once rather than at every key

    static FindKey of(QStringView text, const QList<QDate>& dates = {});
};

// What was typed into a find: words, each of which a line must hold, in its text, in its pinyin
// (whole, by initials, or any start of each syllable: xiezhoubao, xzb, xiezb) or in its dates
// (2026-12, 12月, 2026年12月5日).
class FindQuery
{
public:
    explicit FindQuery(QStringView typed);

    bool isEmpty() const { return m_words.isEmpty(); }
    bool matches(const FindKey& key) const;

    // Case and width folded, as both sides are compared.
    static QString fold(QStringView text);

private:
    struct DateWord
    {
        int year = 0, month = 0, day = 0; // 0: any
    };
    struct Word
    {
        QString text;
        QString letters; // the word as pinyin letters; empty when it cannot be pinyin
        bool isoDate = false;
        std::optional<DateWord> date;
    };

    static bool inPinyin(const PinyinReader::Syllables& syllables, QStringView letters);
    static bool inDates(const Word& word, const FindKey& key);

    QList<Word> m_words;
};
