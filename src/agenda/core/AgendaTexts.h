#pragma once

#include "agenda/core/AgendaItem.h"

#include <QString>

// The sentences that sum the agenda up for the user.
namespace AgendaTexts {

QString overdueSentence(int overdueCount);
QString remark(int overdueCount);
QString trayTip(int overdueCount);
QString daysLeft(int days);
// One item for scripts: finish date, days left (overdue marked as on the panel) and text, by tabs;
// then a repeating item's rule.
QString listLine(const AgendaItem& item);

} // namespace AgendaTexts
