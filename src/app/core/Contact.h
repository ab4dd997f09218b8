#pragma once

#include <QString>

// How to reach the maker; the names live under the reserved .example domain.
namespace Contact {

inline const QString web1 = QStringLiteral("www.quorrel.example");
inline const QString web2 = QStringLiteral("quorrel.example");
inline const QString mail1 = QStringLiteral("studio@quorrel.example");
inline const QString mail2 = QStringLiteral("service@quorrel.example");

} // namespace Contact
