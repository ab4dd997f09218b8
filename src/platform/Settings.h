#pragma once

#include "platform/Result.h"

class QSettings;

// The program's own choices, kept beside the data in an INI file that QSettings reads and writes.
namespace Settings {

inline constexpr char fileName[] = "kestrin.ini";

// Whether settings read their file whole. A file read only in part is never written back: QSettings
// would rewrite it from what it understood. The failure names the file, and the line where it can.
Result check(const QSettings& settings);
// Whether settings' last sync reached the disk.
Result written(const QSettings& settings);

} // namespace Settings
