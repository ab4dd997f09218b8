#pragma once

#include <QString>

// The fixed texts of the four help topics, lines joined with CR LF.
namespace HelpTexts {

QString topicTitle(int topic);
QString topic(int topic); // 1 to 4

} // namespace HelpTexts
