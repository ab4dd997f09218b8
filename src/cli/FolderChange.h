#pragma once

#include "platform/Result.h"

#include <QLockFile>
#include <QString>

#include <memory>

class Clock;
class TextFiles;
struct AgendaChange;

// A change a script makes to the agenda: handed to the copy running for the folder, or made here
// under the folder's lock.
namespace FolderChange {

// The folder's lock, as the running copy holds it: while held here, no copy starts writing.
std::unique_ptr<QLockFile> lock(const QString& appDir);
// "kestrin: Kestrin 正在使用 …", the start of what a script says when a copy holds the folder.
QString inUse(const QString& appDir);
// Hands change to the copy running for the folder, which makes and shows it; with none running,
// makes it here in a session over the folder, holding the folder's lock meanwhile, after the
// day's backup.
Result apply(TextFiles& disk, const QString& appDir, const QString& elsewhere, const Clock& clock,
             const AgendaChange& change);

} // namespace FolderChange
