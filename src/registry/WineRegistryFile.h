#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zorvek {

// One registry file of a Wine prefix (system.reg, user.reg) taken apart: the keys it lists,
// each with its values, names in UTF-16 as Wine keeps them and data as stored.
struct WineRegistryValue
{
    std::u16string name; // empty for the unnamed value "@"
    std::uint32_t type = 0;
    std::vector<std::uint8_t> data; // string types: UTF-16LE with the terminator Wine stores
};

struct WineRegistryKey
{
    std::vector<std::u16string> path; // components below the file's root
    std::vector<WineRegistryValue> values;
};

struct WineRegistryFile
{
    bool win64 = false; // "#arch=win64": the prefix keeps a 32-bit view under Wow6432Node
    std::vector<WineRegistryKey> keys;
};

// Reads the text of a registry file as Wine writes it; lines it cannot read are skipped.
WineRegistryFile ParseWineRegistryFile(std::string_view text);

} // namespace zorvek
