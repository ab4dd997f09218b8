#pragma once

#include <QString>

// The sentences that sum the agenda up for the user.
namespace AgendaTexts {

QString overdueSentence(int overdueCount);
QString remark(int overdueCount);
QString trayTip(int overdueCount);
QString daysLeft(int days);

} // namespace AgendaTexts
