#pragma once

// The program's own choices, kept beside the data in an INI file that QSettings reads and writes.
namespace Settings {

inline constexpr char fileName[] = "kestrin.ini";

} // namespace Settings
