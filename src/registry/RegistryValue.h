#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace zorvek {

// A value read from or written to the registry: empty, text (8-bit, one byte a character),
// a 16-bit or 32-bit integer, an array of bytes, or a number or truth value that has a text form.
using RegistryValue = std::variant<std::monostate, std::string, std::int16_t, std::int32_t,
                                   std::vector<std::uint8_t>, double, bool>;

// The text form of a value: empty for the empty value, integers and numbers in decimal,
// "True"/"False", and an array of bytes as the characters of its bytes.
std::string TextForm(const RegistryValue& value);

} // namespace zorvek
