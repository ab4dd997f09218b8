#pragma once

#include <QStringList>

// Every Mandarin reading of a Han character that Unicode's Unihan data lists (kMandarin,
// kHanyuPinyin, kXHC1983, kTGHZ2013), toneless and lower case, ü as v: 行 is xing and hang, 银 yin.
// The table is made at build time from Debian's unicode-data (make_readings.py).
namespace PinyinReadings {

// Its readings, the everyday one (kMandarin) first; none for a character Unihan gives no reading.
QStringList of(char32_t han);

namespace Data {
// A run of consecutive code points that have readings; the first's index in readingStarts.
struct Run
{
    char32_t first;
    unsigned short count;
    unsigned short index;
};
extern const char syllableText[];
extern const unsigned short syllableStarts[];
extern const Run runs[];
extern const int runCount;
extern const unsigned short readingStarts[];
extern const unsigned short readings[];
} // namespace Data

} // namespace PinyinReadings
