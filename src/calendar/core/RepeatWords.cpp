#include "calendar/core/RepeatWords.h"

#include "calendar/core/DateWords.h"

#include <QStringList>

namespace {

ResultOf<RepeatWords> refused(QStringView text)
{
    return Result::failed(
        QStringLiteral("无法识别的重复方式“%1”。可以写：每天、每周、工作日、法定工作日、每月、每年、"
                       "农历每年、每周五、每月15号、每月月底、每年12月20日、每年农历八月十五，或 off")
            .arg(text.toString()));
}

ResultOf<RepeatWords> saying(const std::optional<RepeatRule>& rule, QStringView text)
{
    if (!rule)
        return refused(text);
    return RepeatWords{rule->kind, rule};
}

} // namespace

ResultOf<RepeatWords> RepeatWords::parse(QStringView typed)
{
    const QStringView text = typed.trimmed();
    if (text == u"off" || text == u"不重复")
        return RepeatWords{};
    if (const std::optional<RepeatRule::Kind> kind = RepeatRule::kindNamed(text))
        return RepeatWords{*kind, std::nullopt};
    if (text.startsWith(u"每年农历"))
        return saying(RepeatRule::fromFields(u"农历每年", text.sliced(4)), typed);
    if (text == u"每月月底")
        return RepeatWords{RepeatRule::Monthly, RepeatRule{RepeatRule::Monthly, 0, 0}};
    const QStringView rest = text.size() > 2 ? text.sliced(2) : QStringView();
    if (text.startsWith(u"每周") || text.startsWith(u"每星期")) {
        const std::optional<int> day =
            DateWords::weekdayNamed(text.startsWith(u"每星期") ? text.sliced(3) : rest);
        return saying(day ? std::optional(RepeatRule{RepeatRule::Weekly, 0, *day}) : std::nullopt, typed);
    }
    if (text.startsWith(u"每月") && (rest.endsWith(u'号') || rest.endsWith(u'日'))) {
        const std::optional<int> day = DateWords::dayOfMonthNamed(rest);
        return saying(day ? std::optional(RepeatRule{RepeatRule::Monthly, 0, *day}) : std::nullopt, typed);
    }
    if (text.startsWith(u"每年") && rest.contains(u'月')) {
        const std::optional<std::pair<int, int>> day = DateWords::dayOfYearNamed(rest);
        return saying(day ? std::optional(RepeatRule{RepeatRule::Yearly, day->first, day->second})
                          : std::nullopt,
                      typed);
    }
    return refused(typed);
}
