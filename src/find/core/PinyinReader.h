#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

// A text as syllables of pinyin, toneless: each Han character with every reading Unihan gives it
// (PinyinReadings), each kept once read.
class PinyinReader
{
public:
    // One a process: what it has read is worth keeping across finds and loads.
    static PinyinReader& shared();

    // The syllables of a folded text: a Han character is one syllable with each of its readings
    // as another spelling of it (行: xing or hang); a run of other letters and digits is one
    // syllable as it is. Blanks and punctuation part them and are left out. letters holds every
    // spelling of every syllable in turn: spelling j from starts[j] to starts[j + 1], syllable i's
    // spellings from firsts[i] to firsts[i + 1].
    struct Syllables
    {
        QString letters;
        QList<quint16> starts; // and letters.size() last
        QList<quint16> firsts; // and the number of spellings last
        int count() const { return int(firsts.size()) - 1; }
        QStringView spelling(int j) const
        {
            return QStringView(letters).mid(starts[j], starts[j + 1] - starts[j]);
        }
    };
    Syllables read(QStringView folded);

    // The readings of one Han character, lower case and toneless: "xing" and "hang" for 行.
    const QStringList& readings(char32_t han);

private:
    QHash<char32_t, QStringList> m_readings;
};
