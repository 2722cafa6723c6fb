#pragma once

#include <string>
#include <vector>

#include "platform/Registry.h"

namespace kestrum {

struct RunContext;

// The subkey of HKEY_USERS that stands for the user's hive, from the names listed there: the
// longest (the first of equal ones), without a final "_classes". Empty for an "Error!" list.
std::string UserHiveKey(const std::vector<std::string>& usersSubkeys);

// Empties one most-recently-used list: its order values ("mru" in the name) are kept with an
// empty text, every other value goes. The key and its subkeys stay.
void ClearMruKey(RunContext& ctx, RegistryHive hive, const std::string& path);

// The registry's most-recently-used lists: the last step of every run.
void ClearRegistryHistory(RunContext& ctx);

}  // namespace kestrum
