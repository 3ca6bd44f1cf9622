#pragma once

#include <cstdint>
#include <string>

namespace zorvek {

class cRegistry;

// The text of one registry value, read through the program's registry class: ValueEx with
// the type REG_SZ and an empty Default, so that nothing an earlier user left on a shared
// instance decides the result. Empty text when the key or the value is missing, when the
// value is not text (a number, bytes) and when the read fails.
std::string ReadRegistryText(cRegistry& registry, std::int32_t eKey, const std::string& sSectionKey,
                             const std::string& sValueKey);

} // namespace zorvek
