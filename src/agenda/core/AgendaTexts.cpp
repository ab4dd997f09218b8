#include "agenda/core/AgendaTexts.h"

#include "calendar/core/HolidayCalendar.h"

#include "calendar/core/DayText.h"

#include "calendar/core/DateText.h"

namespace AgendaTexts {

QString overdueSentence(int overdueCount)
{
    return QStringLiteral("Kestrin提醒您：您有 ") + QString::number(overdueCount) +
           QStringLiteral(" 件事务逾期未完成!");
}

QString remark(int overdueCount)
{
    if (overdueCount == 0)
        return QStringLiteral("成事在胸，井井有条，您将大有所为！");
    return QStringLiteral("千里之行始于足下！从现在做起，从每一件事做起。成功最终属于您。");
}

QString trayTip(int overdueCount)
{
    if (overdueCount == 0)
        return QStringLiteral("Kestrin—Quorrel精品");
    return QStringLiteral("Kestrin—您有") + QString::number(overdueCount) +
           QStringLiteral("个日程逾期未完成!");
}

QString daysLeft(int days)
{
    if (days < 0)
        return QStringLiteral("逾期 ") + QString::number(-qint64(days)) + QStringLiteral(" 天");
    return QString::number(days) + QStringLiteral(" 天");
}

QString listLine(const AgendaItem& item, int depth)
{
    QString line = DateText::format(item.finishDate, item.time) + u'\t' + daysLeft(item.daysLeft) + u'\t' +
                   QString(2 * depth, u' ') + item.text;
    const bool marked =
        item.structure.priority != ItemStructure::NoPriority || !item.structure.tags.isEmpty();
    if (item.repeat.kind != RepeatRule::None || marked)
        line += u'\t' + (item.repeat.kind != RepeatRule::None ? item.repeat.text() : QString());
    if (marked)
        line += u'\t' +
                (item.structure.priority != ItemStructure::NoPriority
                     ? ItemStructure::priorityName(item.structure.priority)
                     : QString()) +
                u'\t' + item.structure.tags.join(u',');
    return line;
}

QString repeatLine(const AgendaItem& item, const HolidayCalendar& holidays)
{
    if (item.repeat.kind == RepeatRule::None)
        return {};
    const QDate next = item.repeat.next(item.finishDate, holidays);
    return QStringLiteral("重复：%1（下次 %2）").arg(item.repeat.text(), DateText::format(next));
}

QString reminderLine(const AgendaItem& item, const HolidayCalendar& holidays)
{
    if (!item.time.isValid())
        return {};
    const auto moment = [&item](QDate day) {
        return DateText::monthDay(day) + u' ' + DateText::formatTime(item.time);
    };
    QString text = QStringLiteral("提醒：") + moment(item.finishDate);
    if (item.repeat.kind != RepeatRule::None)
        if (const QDate next = item.repeat.next(item.finishDate, holidays); next.isValid())
            text += QStringLiteral("，下次 ") + moment(next);
    return text;
}

QString findText(const AgendaItem& item)
{
    if (item.structure.tags.isEmpty() && item.structure.priority == ItemStructure::NoPriority)
        return item.text;
    QString text = item.text;
    for (const QString& tag : item.structure.tags)
        text += QStringLiteral(" #") + tag;
    if (item.structure.priority != ItemStructure::NoPriority)
        text += QStringLiteral(" !") + ItemStructure::priorityName(item.structure.priority);
    return text;
}

QStringList structureLines(const ItemStructure& structure)
{
    QStringList lines;
    if (!structure.parent.isEmpty())
        lines << QStringLiteral("属于：") + structure.parent;
    if (structure.priority != ItemStructure::NoPriority)
        lines << QStringLiteral("优先级：") + ItemStructure::priorityName(structure.priority);
    if (!structure.tags.isEmpty())
        lines << QStringLiteral("标签：") + structure.tags.join(u'、');
    return lines;
}

QString lineTip(const AgendaItem& item, const HolidayCalendar& holidays)
{
    QString tip = item.text + QStringLiteral("\n设置：") + dayText(item.setDate, holidays) +
                  QStringLiteral("\n完成：") + dayText(item.finishDate, holidays);
    for (const QString& more : QStringList{repeatLine(item, holidays), reminderLine(item, holidays)} +
                                   structureLines(item.structure))
        if (!more.isEmpty())
            tip += u'\n' + more;
    return tip;
}

QString lineDescription(const AgendaItem& item, const HolidayCalendar& holidays)
{
    QStringList said = QStringList{repeatLine(item, holidays), reminderLine(item, holidays)} +
                       structureLines(item.structure);
    said.removeAll(QString());
    return said.join(u'；');
}

} // namespace AgendaTexts
