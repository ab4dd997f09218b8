#include "alarm/core/TimeText.h"

namespace TimeText {

namespace {

int twoDigits(QStringView t, qsizetype pos)
{
    if (pos + 2 > t.size() || !t[pos].isDigit() || !t[pos + 1].isDigit() || t[pos].unicode() > u'9' ||
        t[pos + 1].unicode() > u'9')
        return -1;
    return (t[pos].unicode() - u'0') * 10 + (t[pos + 1].unicode() - u'0');
}

bool asciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

std::optional<QTime> read(QStringView text)
{
    text = text.trimmed();
    qsizetype pos = 0;
    int hours = 0, digits = 0;
    while (pos < text.size() && digits < 2 && asciiDigit(text[pos])) {
        hours = hours * 10 + (text[pos].unicode() - u'0');
        ++pos;
        ++digits;
    }
    if (digits == 0 || hours > 23 || pos >= text.size() || text[pos] != u':')
        return std::nullopt;
    const int minutes = twoDigits(text, pos + 1);
    if (minutes < 0 || minutes > 59)
        return std::nullopt;
    pos += 3;
    int seconds = 0;
    if (pos < text.size()) {
        if (text[pos] != u':')
            return std::nullopt;
        seconds = twoDigits(text, pos + 1);
        if (seconds < 0 || seconds > 59 || pos + 3 != text.size())
            return std::nullopt;
    }
    return QTime(hours, minutes, seconds);
}

} // namespace

ResultOf<QTime> parse(QStringView text)
{
    if (const std::optional<QTime> time = read(text))
        return *time;
    return Result::failed(QStringLiteral("“%1”不是时间（时:分，如 08:30）").arg(text.trimmed().toString()));
}

QString format(QTime time)
{
    return time.toString(QStringLiteral("HH:mm:ss"));
}

} // namespace TimeText
