#pragma once

#include "platform/Result.h"
#include "platform/StoreChange.h"

#include <QJsonObject>
#include <QLockFile>
#include <QString>

#include <functional>
#include <memory>

class AgendaStore;
class Clock;
class TextFiles;

// A change a script makes to the agenda: handed to the copy running for the folder, or made here
// under the folder's lock.
namespace FolderChange {

// The folder's lock, as the running copy holds it: while held here, no copy starts writing.
std::unique_ptr<QLockFile> lock(const QString& appDir);
// "kestrin: Kestrin 正在使用 …", the start of what a script says when a copy holds the folder.
QString inUse(const QString& appDir);
// Hands request to the copy running for the folder, which writes and shows the change; with none
// running, write makes it here, holding the folder's lock meanwhile, after the day's backup.
// notDone: what was not done, when a running copy does not answer.
Result make(TextFiles& disk, const QString& appDir, const QString& elsewhere, const Clock& clock,
            const QJsonObject& request, const std::function<StoreChange(AgendaStore&)>& write,
            const QString& notDone);

} // namespace FolderChange
