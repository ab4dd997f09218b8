#pragma once

#include "platform/files/StoreChange.h"

class AgendaStore;
class LogStore;

// Undoing a deletion: an entry of my.log back into the agenda.
namespace LogRestore {

// Appends line row's item to agenda.txt and then removes that line from my.log. A crash in between
// leaves the item in both files, never in neither. Refused when the agenda did not load, the line
// is no entry, or the agenda holds the text already.
StoreChange restore(AgendaStore& agenda, LogStore& log, int row);

} // namespace LogRestore
