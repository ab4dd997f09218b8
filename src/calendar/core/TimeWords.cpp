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
    Dusk,
    Evening,
    Night
};

struct Period
{
    const char16_t* word;
    Part part;
    const char16_t* day; // the day the word says as well, or nullptr
};

// The hour a part of the day said without one has, as phones' reminders give it; none for 凌晨.
int defaultHour(Part part)
{
    switch (part) {
    case Part::Morning:
        return 9;
    case Part::Noon:
        return 12;
    case Part::Afternoon:
        return 15;
    case Part::Dusk:
        return 18;
    case Part::Evening:
        return 20;
    case Part::None:
    case Part::Night:
        break;
    }
    return -1;
}

constexpr Period periods[] = {
    {u"今晚", Part::Evening, u"今天"}, {u"明晚", Part::Evening, u"明天"},   {u"今早", Part::Morning, u"今天"},
    {u"明早", Part::Morning, u"明天"}, {u"今夜", Part::Evening, u"今天"},   {u"凌晨", Part::Night, nullptr},
    {u"早上", Part::Morning, nullptr}, {u"早晨", Part::Morning, nullptr},   {u"上午", Part::Morning, nullptr},
    {u"中午", Part::Noon, nullptr},    {u"下午", Part::Afternoon, nullptr}, {u"傍晚", Part::Dusk, nullptr},
    {u"晚上", Part::Evening, nullptr}, {u"夜里", Part::Evening, nullptr},
};

const QRegularExpression& pattern()
{
    static const QRegularExpression re(
        QStringLiteral("(今晚|明晚|今早|明早|今夜|凌晨|早上|早晨|上午|中午|下午|傍晚|晚上|夜里)?"
                       "(?:(\\d{1,2}):(\\d{2})|([0-9]{1,2}|[零〇一二两三四五六七八九十]{1,3})(?:点|时)"
                       "(?:(半)|(一刻)|(三刻)|([0-9]{1,2}|[零〇一二两三四五六七八九十]{1,3})分?|钟|整)?)"));
    return re;
}

const QString periodWords =
    QStringLiteral("今晚|明晚|今早|明早|今夜|早上|早晨|上午|中午|下午|傍晚|晚上|夜里");

// A part of the day without its hour, at the end of what was said: 明天下午, 周五晚上, 今晚.
const QRegularExpression& periodAlone()
{
    static const QRegularExpression re(QStringLiteral("(%1)\\s*$").arg(periodWords));
    return re;
}

// A time from now: 半小时后, 一个半小时后, 两个小时后, 30分钟后, 1小时30分钟后.
const QRegularExpression& fromNow()
{
    static const QRegularExpression re(QStringLiteral(
        "^\\s*(?:(半)个?(?:小时|钟头)|([0-9]{1,3}|[零〇一二两三四五六七八九十]{1,3})个?(半)?(?:小时|钟头)"
        "(?:([0-9]{1,2}|[零〇一二两三四五六七八九十]{1,3})分钟?)?|([0-9]{1,4}|[零〇一二两三四五六七八九十]{1,"
        "3})分钟)"
        "(?:以)?后\\s*$"));
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
    case Part::Dusk:
    case Part::Evening:
        return hour >= 1 && hour <= 11 ? hour + 12 : -1;
    case Part::Night:
        return hour <= 6 ? hour : -1;
    }
    return -1;
}

const Period* periodNamed(QStringView word)
{
    for (const Period& p : periods)
        if (word == QStringView(p.word))
            return &p;
    return nullptr;
}

// The minutes from now that m says.
int minutesFromNow(const QRegularExpressionMatch& m)
{
    if (m.capturedLength(1))
        return 30;
    if (m.capturedLength(5))
        return DateWords::numeral(m.capturedView(5));
    const int hours = DateWords::numeral(m.capturedView(2));
    const int minutes = m.capturedLength(4) ? DateWords::numeral(m.capturedView(4)) : 0;
    if (hours < 0 || minutes < 0 || minutes > 59)
        return -1;
    return hours * 60 + (m.capturedLength(3) ? 30 : 0) + minutes;
}

QString dayWords(QDate date, QDate today)
{
    if (date == today)
        return QStringLiteral("今天");
    if (date == today.addDays(1))
        return QStringLiteral("明天");
    return date.toString(Qt::ISODate);
}

} // namespace

ResultOf<Said> split(QStringView typed, const QDateTime& now)
{
    // Full-width digits and colons are typed with a Chinese input method on.
    const QString text = typed.toString().normalized(QString::NormalizationForm_KC);
    if (now.isValid()) {
        if (const QRegularExpressionMatch later = fromNow().match(text); later.hasMatch()) {
            const int minutes = minutesFromNow(later);
            if (minutes <= 0)
                return Result::failed(refusal(text.trimmed()));
            // To the minute, as a phone's reminder in half an hour is set.
            const QDateTime at = QDateTime(now.date(), QTime(now.time().hour(), now.time().minute()))
                                     .addSecs(qint64(minutes) * 60);
            return Said{dayWords(at.date(), now.date()), at.time()};
        }
    }
    const QRegularExpressionMatch m = pattern().match(text);
    if (!m.hasMatch()) {
        const QRegularExpressionMatch alone = periodAlone().match(text);
        const Period* period = alone.hasMatch() ? periodNamed(alone.capturedView(1)) : nullptr;
        if (!period)
            return Said{text.trimmed(), {}};
        const QString day = period->day ? QString::fromUtf16(period->day) : QString();
        return Said{(text.left(alone.capturedStart(1)) + day).trimmed(), QTime(defaultHour(period->part), 0)};
    }
    Part part = Part::None;
    QString day;
    if (const Period* period = periodNamed(m.capturedView(1))) {
        part = period->part;
        if (period->day)
            day = QString::fromUtf16(period->day);
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

ResultOf<QTime> timeOfDay(QStringView typed)
{
    const ResultOf<Said> said = split(typed);
    if (!said)
        return said.result();
    if (!said->time.isValid() || !said->day.isEmpty())
        return Result::failed(QStringLiteral("时间格式：15:30、下午3点 或 晚上"));
    return said->time;
}

QDate nextDay(QTime time, const QDateTime& now)
{
    return time > now.time() ? now.date() : now.date().addDays(1);
}

} // namespace TimeWords
