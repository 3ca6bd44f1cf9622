#pragma once

#include <cstddef>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "registry/RegistryBackend.h"

namespace zorvek {

// A registry held in memory with the rules of the Windows registry: names compared without
// regard to case, typed values, HKEY_CLASSES_ROOT as the merged view of the two class trees.
class MemoryRegistryBackend : public RegistryBackend
{
public:
    MemoryRegistryBackend();
    ~MemoryRegistryBackend() override;

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

    // The variables that expandEnvironmentStrings knows (names without regard to case).
    void setEnvironmentVariable(const std::string& name, const std::string& value);
    // Handles opened and not yet closed (root keys are not counted).
    std::size_t openHandleCount() const;

private:
    struct Key;
    struct Value;
    // What a handle names: one key, or for the class root a key of the user's class tree in
    // front of the same key of the machine's class tree (either may be missing).
    struct View
    {
        std::shared_ptr<Key> primary;
        std::shared_ptr<Key> secondary;
        std::uint32_t access = 0;
    };

    long resolve(reg::RegistryHandle key, View& view) const;
    // The same, and ERROR_ACCESS_DENIED unless the handle was opened with all of needed.
    long resolve(reg::RegistryHandle key, View& view, std::uint32_t needed) const;
    // The key a path below the handle starts from, and the path's key names.
    long resolve(reg::RegistryHandle key, const std::string& subKey, View& from,
                 std::vector<std::string>& path) const;
    static std::shared_ptr<Key> walk(std::shared_ptr<Key> from, const std::vector<std::string>& path);
    static std::size_t existingDepth(const std::shared_ptr<Key>& from, const std::vector<std::string>& path);
    static std::shared_ptr<Key> build(std::shared_ptr<Key> from, const std::vector<std::string>& path,
                                      bool& created);
    static Value* findValue(Key& key, const std::string& name);
    static std::vector<std::shared_ptr<Key>> childrenOf(const View& view);
    static std::vector<const Value*> valuesOf(const View& view);
    reg::RegistryHandle addHandle(View view);

    std::map<std::int32_t, std::shared_ptr<Key>> m_roots;
    std::map<reg::RegistryHandle, View> m_handles;
    reg::RegistryHandle m_nextHandle = 0x1000;
    std::vector<std::pair<std::string, std::string>> m_environment;
};

} // namespace zorvek
