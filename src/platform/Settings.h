#pragma once

#include "platform/Result.h"

#include <functional>

class QSettings;

// The program's own choices, kept beside the data in an INI file that QSettings reads and writes.
namespace Settings {

inline constexpr char fileName[] = "kestrin.ini";

// Whether settings read their file whole. A file read only in part is never written back: QSettings
// would rewrite it from what it understood. The failure names the file, and the line where it can.
Result check(const QSettings& settings);
// Whether settings' last sync reached the disk.
Result written(const QSettings& settings);
// The one way to write the file: checked first (a file read in part is left byte for byte, and
// the check's failure returned), then edited, then synced and checked to have reached the disk.
Result change(const QString& path, const std::function<void(QSettings&)>& edit);

} // namespace Settings
