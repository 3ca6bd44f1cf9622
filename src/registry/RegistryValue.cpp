#include "registry/RegistryValue.h"

#include <charconv>
#include <type_traits>

namespace zorvek {

std::string TextForm(const RegistryValue& value)
{
    return std::visit(
        [](const auto& held) -> std::string {
            using Held = std::decay_t<decltype(held)>;
            if constexpr (std::is_same_v<Held, std::monostate>) {
                return {};
            } else if constexpr (std::is_same_v<Held, std::string>) {
                return held;
            } else if constexpr (std::is_same_v<Held, bool>) {
                return held ? "True" : "False";
            } else if constexpr (std::is_same_v<Held, std::vector<std::uint8_t>>) {
                return std::string(held.begin(), held.end());
            } else {
                char buffer[64];
                const auto result = std::to_chars(buffer, buffer + sizeof buffer, held);
                return std::string(buffer, result.ptr);
            }
        },
        value);
}

} // namespace zorvek
