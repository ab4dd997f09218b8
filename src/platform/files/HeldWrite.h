#pragma once

#include "platform/files/StoreChange.h"

#include <functional>

class FileStamp;
class TextFiles;

// A change to a data file made with the folder held, so that no other writer (a sync, a script)
// comes between the check and the write. readAs: the file as the change read it, which must still
// be what is on disk, or null for an append, which undoes nothing.
StoreChange writeHeld(TextFiles& files, const QString& path, const FileStamp* readAs,
                      const std::function<StoreChange()>& write);
