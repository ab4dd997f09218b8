#pragma once

#include "platform/Result.h"

#include <QString>

#include <optional>

// The desktop's secret store (Secret Service), through QtKeychain: the task list's password is
// kept there, never in a file.
namespace SecretStore {

Result write(const QString& key, const QString& password);
// The password, nothing when none is stored, or a failure of the store.
std::optional<QString> read(const QString& key, QString* error);
void remove(const QString& key);

} // namespace SecretStore
