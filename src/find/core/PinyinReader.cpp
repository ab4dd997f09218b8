#include "find/core/PinyinReader.h"

#include "find/core/PinyinReadings.h"

PinyinReader& PinyinReader::shared()
{
    static PinyinReader reader;
    return reader;
}

const QStringList& PinyinReader::readings(char32_t han)
{
    if (const auto known = m_readings.constFind(han); known != m_readings.cend())
        return *known;
    return *m_readings.insert(han, PinyinReadings::of(han));
}

PinyinReader::Syllables PinyinReader::read(QStringView folded)
{
    Syllables syllables;
    bool inRun = false; // within a run of letters and digits that are not Han
    const auto spell = [&syllables] { syllables.starts.append(quint16(syllables.letters.size())); };
    const auto begin = [&] {
        syllables.firsts.append(quint16(syllables.starts.size()));
        spell();
    };
    for (qsizetype i = 0; i < folded.size(); ++i) {
        char32_t c = folded[i].unicode();
        if (folded[i].isHighSurrogate() && i + 1 < folded.size() && folded[i + 1].isLowSurrogate()) {
            c = QChar::surrogateToUcs4(folded[i], folded[i + 1]);
            ++i;
        }
        if (QChar::script(c) == QChar::Script_Han) {
            inRun = false;
            const QStringList& all = readings(c);
            for (qsizetype r = 0; r < all.size(); ++r) {
                if (r == 0)
                    begin();
                else
                    spell();
                syllables.letters += all[r];
            }
        } else if (QChar::isLetterOrNumber(c)) {
            if (!inRun)
                begin();
            inRun = true;
            syllables.letters += QString::fromUcs4(&c, 1);
        } else {
            inRun = false;
        }
        // A line far longer than any item: the rest is found by its words alone.
        if (syllables.letters.size() > 60000)
            break;
    }
    syllables.firsts.append(quint16(syllables.starts.size()));
    syllables.starts.append(quint16(syllables.letters.size()));
    return syllables;
}
