#include "agenda/core/RepeatWords.h"

#include "calendar/core/DateWords.h"
#include "calendar/core/HolidayCalendar.h"

#include <QStringList>

namespace {

// A date read by the date words, from a day whose next month has 31 days and whose next year a
// 2-29: the day said, whatever it is, comes within them.
std::optional<QDate> dateSaid(QStringView text)
{
    const ResultOf<QDate> date = DateWords::parse(text, QDate(2027, 12, 31), HolidayCalendar());
    return date ? std::optional<QDate>(*date) : std::nullopt;
}

} // namespace

std::optional<RepeatWords> RepeatWords::parse(QStringView text)
{
    text = text.trimmed();
    if (text == u"off" || text == u"不重复")
        return RepeatWords{};
    if (const std::optional<RepeatRule::Kind> kind = RepeatRule::kindNamed(text))
        return RepeatWords{*kind, std::nullopt};
    if (text.startsWith(u"每年农历")) {
        const std::optional<RepeatRule> rule = RepeatRule::fromFields(u"农历每年", text.sliced(4));
        if (rule)
            return RepeatWords{RepeatRule::LunarYearly, rule};
        return std::nullopt;
    }
    if (text == u"每月月底")
        return RepeatWords{RepeatRule::Monthly, RepeatRule{RepeatRule::Monthly, 0, 0}};
    const QStringView rest = text.size() > 2 ? text.sliced(2) : QStringView();
    if (text.startsWith(u"每周") || text.startsWith(u"每星期")) {
        const QStringView day = text.startsWith(u"每星期") ? text.sliced(3) : rest;
        if (const auto date = dateSaid(QString(QStringLiteral("周") + day.toString()));
            date && day.size() == 1)
            return RepeatWords{RepeatRule::Weekly, RepeatRule{RepeatRule::Weekly, 0, date->dayOfWeek()}};
        return std::nullopt;
    }
    if (text.startsWith(u"每月") && (rest.endsWith(u'号') || rest.endsWith(u'日'))) {
        if (const auto date = dateSaid(rest))
            return RepeatWords{RepeatRule::Monthly, RepeatRule{RepeatRule::Monthly, 0, date->day()}};
        return std::nullopt;
    }
    if (text.startsWith(u"每年") && rest.contains(u'月')) {
        if (const auto date = dateSaid(rest))
            return RepeatWords{RepeatRule::Yearly,
                               RepeatRule{RepeatRule::Yearly, date->month(), date->day()}};
        return std::nullopt;
    }
    return std::nullopt;
}
