#pragma once

#include "find/core/FindKey.h"

#include <QList>
#include <QString>

#include <optional>

// What was typed into a find: words, each of which a line must hold, in its text, in its pinyin
// (whole, by initials, or any start of each syllable: xiezhoubao, xzb, xiezb) or in its dates
// (2026-12, 12月, 2026年12月5日).
class FindQuery
{
public:
    explicit FindQuery(QStringView typed);

    bool isEmpty() const { return m_words.isEmpty(); }
    bool matches(const FindKey& key) const;

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
