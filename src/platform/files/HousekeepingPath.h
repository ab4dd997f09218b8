#pragma once

#include <QString>

// Where the program keeps what belongs to a data folder but is no data (its locks and its socket):
// the user's runtime folder (mode 0700) where there is one, so that no other user can take the
// name first, and never the data folder itself, which may be read-only or synced elsewhere. The
// same folder, however named, gives the same path.
QString housekeepingPathFor(const QString& folder);
