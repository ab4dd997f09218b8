#include "DateText.h"

namespace DateText {

QString format(QDate date)
{
    // Digits by hand: QDate's string functions are several times slower on a large agenda.
    const int y = date.year(), m = date.month(), d = date.day();
    const QChar text[10] = {QChar(u'0' + y / 1000),
                            QChar(u'0' + y / 100 % 10),
                            QChar(u'0' + y / 10 % 10),
                            QChar(u'0' + y % 10),
                            QChar(u'-'),
                            QChar(u'0' + m / 10),
                            QChar(u'0' + m % 10),
                            QChar(u'-'),
                            QChar(u'0' + d / 10),
                            QChar(u'0' + d % 10)};
    return QString(text, 10);
}

namespace {

// Reads 1 to maxDigits ASCII digits at pos; -1 when there are none.
int readNumber(QStringView text, qsizetype& pos, int minDigits, int maxDigits)
{
    int value = 0, digits = 0;
    while (pos < text.size() && digits < maxDigits && text[pos] >= u'0' && text[pos] <= u'9') {
        value = value * 10 + (text[pos].unicode() - u'0');
        ++pos;
        ++digits;
    }
    return digits >= minDigits ? value : -1;
}

} // namespace

std::optional<QDate> read(QStringView text)
{
    qsizetype pos = 0;
    const int year = readNumber(text, pos, 4, 4);
    if (year < 1000 || pos >= text.size() || text[pos] != u'-')
        return std::nullopt;
    ++pos;
    const int month = readNumber(text, pos, 1, 2);
    if (month < 0 || pos >= text.size() || text[pos] != u'-')
        return std::nullopt;
    ++pos;
    const int day = readNumber(text, pos, 1, 2);
    if (day < 0 || pos != text.size())
        return std::nullopt;
    const QDate date(year, month, day);
    if (!date.isValid())
        return std::nullopt;
    return date;
}

std::optional<QDate> parse(QStringView text)
{
    return read(text.trimmed());
}

} // namespace DateText
