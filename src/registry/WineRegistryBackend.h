#pragma once

#include <cstddef>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "registry/RegistryBackend.h"

namespace zorvek {

class MemoryRegistryBackend;

// Reads the registry of a Wine prefix from its files: HKEY_LOCAL_MACHINE from system.reg,
// HKEY_CURRENT_USER from user.reg, HKEY_CLASSES_ROOT as the user's classes over the machine's.
// It never writes: writes and deletions answer ERROR_ACCESS_DENIED. The files are read at the
// first question, not when the object is made: a prefix's registry is megabytes of text, and
// a program that makes its registry object at start-up may never ask it anything.
class WineRegistryBackend : public RegistryBackend
{
public:
    explicit WineRegistryBackend(std::filesystem::path prefix);
    ~WineRegistryBackend() override;

    long openKey(reg::RegistryHandle key, const std::string& subKey, std::uint32_t options,
                 std::uint32_t access, reg::RegistryHandle& result) override;
    long createKey(reg::RegistryHandle key, const std::string& subKey, std::uint32_t options,
                   std::uint32_t access, reg::RegistryHandle& result, std::uint32_t* disposition) override;
    long closeKey(reg::RegistryHandle key) override;
    long queryValue(reg::RegistryHandle key, const std::string& valueName, std::uint32_t* type,
                    std::uint8_t* data, std::uint32_t* size) override;
    long setValue(reg::RegistryHandle key, const std::string& valueName, std::uint32_t type,
                  const std::uint8_t* data, std::uint32_t size) override;
    long deleteKey(reg::RegistryHandle key, const std::string& subKey) override;
    long deleteValue(reg::RegistryHandle key, const std::string& valueName) override;
    long enumKey(reg::RegistryHandle key, std::uint32_t index, char* name, std::uint32_t nameSize) override;
    long enumValue(reg::RegistryHandle key, std::uint32_t index, char* name, std::uint32_t& nameLength,
                   std::uint32_t* type, std::uint8_t* data, std::uint32_t* dataSize) override;
    long queryInfoKey(reg::RegistryHandle key, reg::KeyInfo& info) override;
    long connectRegistry(const std::string& machine, reg::RegistryHandle rootKey,
                         reg::RegistryHandle& result) override;
    std::uint32_t expandEnvironmentStrings(const std::string& source, char* destination,
                                           std::uint32_t size) override;

    const std::filesystem::path& prefix() const { return m_prefix; }
    // Handles opened and not yet closed (root keys are not counted).
    std::size_t openHandleCount() const;

private:
    using FileStamp = std::optional<std::pair<std::filesystem::file_time_type, std::uintmax_t>>;

    void refresh();
    // The keys read from the files, read now if they were not yet.
    MemoryRegistryBackend& tree();
    void load();
    void loadEnvironment();

    std::filesystem::path m_prefix;
    std::shared_ptr<MemoryRegistryBackend> m_tree;
    bool m_win64 = false;
    FileStamp m_systemStamp;
    FileStamp m_userStamp;
};

} // namespace zorvek
