#include "find/core/PinyinReadings.h"

#include <algorithm>

namespace PinyinReadings {

QStringList of(char32_t han)
{
    using namespace Data;
    const Run* end = runs + runCount;
    const Run* run = std::upper_bound(runs, end, han, [](char32_t c, const Run& r) { return c < r.first; });
    if (run == runs)
        return {};
    --run;
    if (han >= run->first + run->count)
        return {};
    const int character = run->index + int(han - run->first);
    QStringList found;
    for (int i = readingStarts[character]; i < readingStarts[character + 1]; ++i)
        found.append(QString::fromLatin1(syllableText + syllableStarts[readings[i]]));
    return found;
}

} // namespace PinyinReadings
