#include "platform/files/HeldWrite.h"

#include "platform/files/FileStamp.h"
#include "platform/files/TextFiles.h"

#include <QFileInfo>

StoreChange writeHeld(TextFiles& files, const QString& path, const FileStamp* readAs,
                      const std::function<StoreChange()>& write)
{
    const auto hold = files.holdFolderOf(path);
    if (!hold)
        return StoreChange::folderBusy();
    if (readAs && !readAs->matches(files, path))
        return StoreChange::changedElsewhere(QFileInfo(path).fileName());
    return write();
}
