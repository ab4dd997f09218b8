#include "calendar/core/DateText.h"

namespace DateText {

namespace {

// The ten characters of yyyy-MM-dd into to.
template <typename Char> void writeDate(Char* to, QDate date)
{
    // (docs/ARCHITECTURE.md, "Why the unusual code exists".)
    // Digits by hand and the day counted back from the Julian day by the usual integer formula:
    // QDate's string and calendar functions are several times slower on a large agenda.
    // Unsigned 32-bit: every day of the years 1000 to 9999 fits, and constant divisions become
    // multiplications.
    const quint32 jd = quint32(date.toJulianDay());
    quint32 l = jd + 68569;
    const quint32 n = 4 * l / 146097;
    l -= (146097 * n + 3) / 4;
    const quint32 i = 4000 * (l + 1) / 1461001;
    l = l - 1461 * i / 4 + 31;
    const quint32 j = 80 * l / 2447;
    const int d = int(l - 2447 * j / 80);
    l = j / 11;
    const int m = int(j + 2 - 12 * l), y = int(100 * (n - 49) + i + l);
    to[0] = Char('0' + y / 1000);
    to[1] = Char('0' + y / 100 % 10);
    to[2] = Char('0' + y / 10 % 10);
    to[3] = Char('0' + y % 10);
    to[4] = Char('-');
    to[5] = Char('0' + m / 10);
    to[6] = Char('0' + m % 10);
    to[7] = Char('-');
    to[8] = Char('0' + d / 10);
    to[9] = Char('0' + d % 10);
}

} // namespace

void appendTo(QString& to, QDate date)
{
    const qsizetype at = to.size();
    to.resize(at + 10);
    writeDate(reinterpret_cast<char16_t*>(to.data() + at), date);
}

char* write(char* to, QDate date)
{
    writeDate(to, date);
    return to + 10;
}

QString format(QDate date)
{
    QString text;
    text.reserve(10);
    appendTo(text, date);
    return text;
}

namespace {

char16_t unit(QChar c)
{
    return c.unicode();
}

char16_t unit(char c)
{
    return quint8(c);
}

// Reads 1 to maxDigits ASCII digits at pos; -1 when there are none.
template <typename View> int readNumber(View text, qsizetype& pos, int minDigits, int maxDigits)
{
    int value = 0, digits = 0;
    while (pos < text.size() && digits < maxDigits && unit(text[pos]) >= u'0' && unit(text[pos]) <= u'9') {
        value = value * 10 + int(unit(text[pos]) - u'0');
        ++pos;
        ++digits;
    }
    return digits >= minDigits ? value : -1;
}

// Text and the bytes of a file alike: a date is ASCII in both.
template <typename View> QDate readDate(View text)
{
    qsizetype pos = 0;
    const int year = readNumber(text, pos, 4, 4);
    if (year < 1000 || pos >= text.size() || unit(text[pos]) != u'-')
        return {};
    ++pos;
    const int month = readNumber(text, pos, 1, 2);
    if (month < 0 || pos >= text.size() || unit(text[pos]) != u'-')
        return {};
    ++pos;
    const int day = readNumber(text, pos, 1, 2);
    if (day < 0 || pos != text.size())
        return {};
    if (month < 1 || month > 12 || day < 1)
        return {};
    // Unsigned from here: constant divisions become multiplications. Every year is 1000 to 9999.
    const unsigned uy = unsigned(year), um = unsigned(month), ud = unsigned(day);
    static constexpr unsigned monthDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = uy % 4 == 0 && (uy % 100 != 0 || uy % 400 == 0);
    if (ud > monthDays[um - 1] + (um == 2 && leap))
        return {};
    // The Julian day by the usual integer formula: QDate's calendar machinery is a large share
    // of loading a big agenda.
    const unsigned a = um <= 2, y = uy + 4800 - a, m = um + 12 * a - 3;
    return QDate::fromJulianDay(ud + (153 * m + 2) / 5 + 365 * y + y / 4 - y / 100 + y / 400 - 32045);
}

// "15:00:00", "15:00", "9:05": hours 0 to 23, two-digit minutes and seconds.
template <typename View> QTime readTime(View text)
{
    qsizetype pos = 0;
    const int hour = readNumber(text, pos, 1, 2);
    if (hour < 0 || hour > 23 || pos >= text.size() || unit(text[pos]) != u':')
        return {};
    ++pos;
    const int minute = readNumber(text, pos, 2, 2);
    int second = 0;
    if (minute > 59)
        return {};
    if (pos < text.size() && unit(text[pos]) == u':') {
        ++pos;
        second = readNumber(text, pos, 2, 2);
    }
    if (minute < 0 || second < 0 || second > 59 || pos != text.size())
        return {};
    return QTime(hour, minute, second);
}

} // namespace

QTime readTime(QStringView text)
{
    return readTime<QStringView>(text);
}

QTime readTime(QByteArrayView bytes)
{
    return readTime<QByteArrayView>(bytes);
}

QString formatTime(QTime time)
{
    return time.toString(QStringLiteral("HH:mm"));
}

QString format(QDate date, QTime time)
{
    return time.isValid() ? format(date) + u' ' + formatTime(time) : format(date);
}

QDate read(QStringView text)
{
    return readDate(text);
}

QDate read(QByteArrayView bytes)
{
    return readDate(bytes);
}

ResultOf<QDate> parse(QStringView text)
{
    if (const QDate date = read(text.trimmed()); date.isValid())
        return date;
    return Result::failed(
        QStringLiteral("“%1”不是日期（年-月-日，如 2026-12-20）").arg(text.trimmed().toString()));
}

std::optional<int> number(QStringView text, int low, int high)
{
    bool ok = false;
    const int n = text.toInt(&ok);
    if (!ok || n < low || n > high)
        return std::nullopt;
    return n;
}

const QString& weekdayNames()
{
    static const QString names = QStringLiteral("一二三四五六日");
    return names;
}

QChar weekdayName(int dayOfWeek)
{
    return weekdayNames().at(dayOfWeek - 1);
}

QString monthDay(QDate date)
{
    return QStringLiteral("%1月%2日").arg(date.month()).arg(date.day());
}

} // namespace DateText
