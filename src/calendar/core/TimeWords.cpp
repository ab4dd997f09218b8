#include "calendar/core/TimeWords.h"

#include "calendar/core/DateWords.h"

#include <QRegularExpression>

namespace TimeWords {

namespace {

enum class Part
{
    None,
    Morning,
    Noon,
    Afternoon,
    Evening,
    Night
};

struct Period
{
    const char16_t* word;
    Part part;
    const char16_t* day; // the day the word says as well, or nullptr
};

constexpr Period periods[] = {
    {u"今晚", Part::Evening, u"今天"}, {u"明晚", Part::Evening, u"明天"},   {u"今早", Part::Morning, u"今天"},
    {u"明早", Part::Morning, u"明天"}, {u"今夜", Part::Evening, u"今天"},   {u"凌晨", Part::Night, nullptr},
    {u"早上", Part::Morning, nullptr}, {u"早晨", Part::Morning, nullptr},   {u"上午", Part::Morning, nullptr},
    {u"中午", Part::Noon, nullptr},    {u"下午", Part::Afternoon, nullptr}, {u"傍晚", Part::Evening, nullptr},
    {u"晚上", Part::Evening, nullptr}, {u"夜里", Part::Evening, nullptr},
};

const QRegularExpression& pattern()
{
    static const QRegularExpression re(
        QStringLiteral("(今晚|明晚|今早|明早|今夜|凌晨|早上|早晨|上午|中午|下午|傍晚|晚上|夜里)?"
                       "(?:(\\d{1,2}):(\\d{2})|([0-9]{1,2}|[零〇一二两三四五六七八九十]{1,3})(?:点|时)"
                       "(?:(半)|(一刻)|(三刻)|([0-9]{1,2}|[零〇一二两三四五六七八九十]{1,3})分?|钟)?)"));
    return re;
}

QString refusal(QStringView text)
{
    return QStringLiteral(
               "无法识别的时间“%1”。可以写：下午3点、上午10点半、今晚8点、三点一刻、15:30、明早9点")
        .arg(text.toString());
}

// The hour on the 24-hour clock that hour, said in part, is; -1 when it cannot be.
int hourOf(int hour, Part part, bool clock)
{
    switch (part) {
    case Part::None:
        if (hour > 23)
            return -1;
        return !clock && hour >= 1 && hour <= 6 ? hour + 12 : hour;
    case Part::Morning:
        return hour <= 12 ? hour : -1;
    case Part::Noon:
        return hour >= 11 && hour <= 12 ? hour : hour >= 1 && hour <= 2 ? hour + 12 : -1;
    case Part::Afternoon:
        return hour == 12 ? 12 : hour >= 1 && hour <= 11 ? hour + 12 : -1;
    case Part::Evening:
        return hour >= 1 && hour <= 11 ? hour + 12 : -1;
    case Part::Night:
        return hour <= 6 ? hour : -1;
    }
    return -1;
}

} // namespace

ResultOf<Said> split(QStringView typed)
{
    // Full-width digits and colons are typed with a Chinese input method on.
    const QString text = typed.toString().normalized(QString::NormalizationForm_KC);
    const QRegularExpressionMatch m = pattern().match(text);
    if (!m.hasMatch())
        return Said{text.trimmed(), {}};
    Part part = Part::None;
    QString day;
    for (const Period& p : periods) {
        if (m.capturedView(1) == QStringView(p.word)) {
            part = p.part;
            if (p.day)
                day = QString::fromUtf16(p.day);
        }
    }
    const bool clock = m.capturedLength(2) > 0;
    const int hour = hourOf(DateWords::numeral(m.capturedView(clock ? 2 : 4)), part, clock);
    int minute = 0;
    if (clock)
        minute = m.capturedView(3).toInt();
    else if (m.capturedLength(5))
        minute = 30;
    else if (m.capturedLength(6))
        minute = 15;
    else if (m.capturedLength(7))
        minute = 45;
    else if (m.capturedLength(8))
        minute = DateWords::numeral(m.capturedView(8));
    if (hour < 0 || minute < 0 || minute > 59)
        return Result::failed(refusal(m.capturedView(0)));
    QString rest = text.left(m.capturedStart(0)) + day + text.mid(m.capturedEnd(0));
    return Said{rest.trimmed(), QTime(hour, minute)};
}

QDate nextDay(QTime time, const QDateTime& now)
{
    return time > now.time() ? now.date() : now.date().addDays(1);
}

} // namespace TimeWords
