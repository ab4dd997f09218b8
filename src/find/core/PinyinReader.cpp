#include "find/core/PinyinReader.h"

#include <unicode/translit.h>
#include <unicode/unistr.h>

struct PinyinReader::Transliteration
{
    std::unique_ptr<icu::Transliterator> transliterator;
};

PinyinReader::PinyinReader() = default;
PinyinReader::~PinyinReader() = default;

PinyinReader& PinyinReader::shared()
{
    static PinyinReader reader;
    return reader;
}

QString PinyinReader::reading(char32_t han)
{
    if (const auto known = m_readings.constFind(han); known != m_readings.cend())
        return *known;
    if (!m_transliteration) {
        m_transliteration = std::make_unique<Transliteration>();
        UErrorCode status = U_ZERO_ERROR;
        m_transliteration->transliterator.reset(
            icu::Transliterator::createInstance("Han-Latin; Lower", UTRANS_FORWARD, status));
        if (U_FAILURE(status))
            m_transliteration->transliterator.reset();
    }
    QString result;
    if (m_transliteration->transliterator) {
        icu::UnicodeString text = icu::UnicodeString::fromUTF32(reinterpret_cast<const UChar32*>(&han), 1);
        m_transliteration->transliterator->transliterate(text);
        // Without tones; ü as v, as pinyin input methods type it (绿: lv).
        const QString toned =
            QString::fromUtf16(text.getBuffer(), text.length()).normalized(QString::NormalizationForm_D);
        for (qsizetype i = 0; i < toned.size(); ++i) {
            const QChar c = toned[i];
            if (c == u'u' && i + 1 < toned.size() && toned[i + 1] == QChar(0x0308))
                result += u'v';
            else if ((c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9'))
                result += c;
        }
    }
    m_readings.insert(han, result);
    return result;
}

PinyinReader::Syllables PinyinReader::read(QStringView folded)
{
    Syllables syllables;
    bool inRun = false; // within a run of letters and digits that are not Han
    const auto begin = [&syllables] { syllables.starts.append(quint16(syllables.letters.size())); };
    for (qsizetype i = 0; i < folded.size(); ++i) {
        char32_t c = folded[i].unicode();
        if (folded[i].isHighSurrogate() && i + 1 < folded.size() && folded[i + 1].isLowSurrogate()) {
            c = QChar::surrogateToUcs4(folded[i], folded[i + 1]);
            ++i;
        }
        if (QChar::script(c) == QChar::Script_Han) {
            inRun = false;
            if (const QString syllable = reading(c); !syllable.isEmpty()) {
                begin();
                syllables.letters += syllable;
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
    syllables.starts.append(quint16(syllables.letters.size()));
    return syllables;
}
