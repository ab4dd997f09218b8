#pragma once

// The file that links a data folder to a task list: the sync writes and reads it, the running
// program only looks whether it is there.
namespace SyncLink {

inline constexpr char fileName[] = "caldav.json";

} // namespace SyncLink
