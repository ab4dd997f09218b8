#pragma once

#include "platform/Result.h"

#include <QString>
#include <QTime>

#include <optional>

// Times of day as the user types them: "12:59:01", or "12:59" with the seconds left out.
namespace TimeText {

// Hours 0 to 23 with one or two digits; minutes and seconds two digits, 0 to 59.
// Refused with what was typed and the form wanted.
ResultOf<QTime> parse(QStringView text);
// "hh:mm:ss" on the 24-hour clock, zero-padded.
QString format(QTime time);

} // namespace TimeText
