#pragma once

#include "platform/Result.h"

#include <QString>

#include <optional>

// The desktop's secret store (Secret Service), through QtKeychain: the task list's password is
// kept there, never in a file.
namespace SecretStore {

Result write(const QString& key, const QString& password);
// The password, or nothing when none is stored.
ResultOf<std::optional<QString>> read(const QString& key);
void remove(const QString& key);

} // namespace SecretStore
