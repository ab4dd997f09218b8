#pragma once

#include "platform/Result.h"

#include <QString>

// Where the data live when no --dir is given. A program run from a folder it can write (a build
// folder, an unpacked copy) keeps them beside itself. An installed program (bin/ next to
// share/kestrin) keeps them in $XDG_DATA_HOME/kestrin, readable by its user alone, with its sounds
// copied there at first start so that the user can replace them.
namespace DataFolder {

// share/kestrin/sounds of an installed program, or empty.
QString installedSounds(const QString& exeDir);
QString choose(const QString& exeDir);
// Creates an installed program's folder the first time, with the sounds in it.
Result prepare(const QString& folder, const QString& exeDir);

} // namespace DataFolder
