#include "registry/ReadRegistryText.h"

#include <exception>
#include <variant>

#include "registry/RegistryBackend.h"
#include "registry/cRegistry.h"

namespace zorvek {

std::string ReadRegistryText(cRegistry& registry, std::int32_t eKey, const std::string& sSectionKey,
                             const std::string& sValueKey)
{
    try {
        const RegistryValue value = registry.ValueEx(eKey, sSectionKey, sValueKey,
                                                     static_cast<std::int32_t>(reg::kRegSz), RegistryValue());
        const std::string* text = std::get_if<std::string>(&value);
        return text ? *text : std::string();
    } catch (const std::exception&) {
        // A read raises nothing of its own; whatever else fails (memory) reads as a missing
        // value, and the program goes on.
        return {};
    }
}

} // namespace zorvek
