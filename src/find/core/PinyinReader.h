#pragma once

#include <QHash>
#include <QString>

#include <memory>

// A text as syllables of pinyin, by ICU's Han-Latin transliteration, without tones: the
// transliterator is made at the first Han character read, and each character's reading is kept.
class PinyinReader
{
public:
    PinyinReader();
    ~PinyinReader();
    PinyinReader(const PinyinReader&) = delete;
    PinyinReader& operator=(const PinyinReader&) = delete;

    // One a process: what it has read is worth keeping across finds and loads.
    static PinyinReader& shared();

    // The syllables of a folded text, concatenated into letters, each beginning at its start: a
    // Han character's reading, or a run of other letters and digits as it is. Blanks and
    // punctuation part them and are left out.
    struct Syllables
    {
        QString letters;
        QList<quint16> starts; // and letters.size() last
        int count() const { return int(starts.size()) - 1; }
    };
    Syllables read(QStringView folded);

    // The reading of one Han character, lower case and toneless: "xie" for 写.
    QString reading(char32_t han);

private:
    struct Transliteration;
    std::unique_ptr<Transliteration> m_transliteration;
    QHash<char32_t, QString> m_readings;
};
