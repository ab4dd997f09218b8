#pragma once

#include <QDate>
#include <QString>

#include <optional>

// Dates as the user reads and types them: "2002-12-27".
namespace DateText {

QString format(QDate date);
// Accepts a four-digit year (1000 to 9999), one- or two-digit month and day joined by hyphens,
// blanks around the whole; refuses empty text and days that do not exist.
std::optional<QDate> parse(QStringView text);

} // namespace DateText
