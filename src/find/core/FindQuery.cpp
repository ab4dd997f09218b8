#include "find/core/FindQuery.h"

#include <QRegularExpression>

namespace {

// Whether letters from at match the syllables from syllable on, each syllable by a start of one
// of its spellings: its initial, some of its letters, or all of it.
bool matchFrom(const PinyinReader::Syllables& s, int syllable, QStringView letters)
{
    if (letters.isEmpty())
        return true;
    if (syllable >= s.count())
        return false;
    for (int j = s.firsts[syllable]; j < s.firsts[syllable + 1]; ++j) {
        const QStringView own = s.spelling(j);
        qsizetype common = 0;
        while (common < own.size() && common < letters.size() && own[common] == letters[common])
            ++common;
        for (qsizetype k = common; k > 0; --k)
            if (matchFrom(s, syllable + 1, letters.mid(k)))
                return true;
    }
    return false;
}

} // namespace

FindQuery::FindQuery(QStringView typed)
{
    static const QRegularExpression pinyin(QStringLiteral("^[a-z0-9']+$"));
    static const QRegularExpression iso(QStringLiteral("^[0-9-]*[0-9][0-9-]*$"));
    static const QRegularExpression chinese(
        QStringLiteral("^(?:([0-9]{4})年)?(?:([0-9]{1,2})月)?(?:([0-9]{1,2})[日号])?$"));
    const QString folded = FindKey::fold(typed);
    for (const QString& text : folded.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts)) {
        Word word{text, {}, false, std::nullopt};
        if (pinyin.match(text).hasMatch())
            word.letters = QString(text).remove(u'\'');
        word.isoDate = iso.match(text).hasMatch();
        if (const QRegularExpressionMatch m = chinese.match(text);
            m.hasMatch() && text.size() > 1 && !text.back().isDigit())
            word.date = DateWord{m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt()};
        m_words.append(word);
    }
}

bool FindQuery::inPinyin(const PinyinReader::Syllables& syllables, QStringView letters)
{
    if (letters.isEmpty())
        return false;
    for (int i = 0; i < syllables.count(); ++i)
        if (matchFrom(syllables, i, letters))
            return true;
    return false;
}

bool FindQuery::inDates(const Word& word, const FindKey& key)
{
    if (word.isoDate && key.isoDates.contains(word.text))
        return true;
    for (const QDate& date : key.dates) {
        if (const std::optional<DateWord>& d = word.date; d && (!d->year || d->year == date.year()) &&
                                                          (!d->month || d->month == date.month()) &&
                                                          (!d->day || d->day == date.day()))
            return true;
    }
    return false;
}

bool FindQuery::matches(const FindKey& key) const
{
    for (const Word& word : m_words) {
        if (!key.text.contains(word.text) && !inPinyin(key.syllables, word.letters) && !inDates(word, key))
            return false;
    }
    return true;
}
