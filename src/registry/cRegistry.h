#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "registry/RegistryBackend.h"
#include "registry/RegistryValue.h"

namespace zorvek {

// The program's access to the registry, used like a cursor: properties name a place (root,
// key path, value name, type, default, computer) and Value and the operations act on it.
class cRegistry
{
public:
    explicit cRegistry(std::shared_ptr<RegistryBackend> backend);

    const std::string& Machine() const { return m_Machine; }
    void SetMachine(const std::string& sMachine);

    bool KeyExists();
    bool CreateKey();
    bool DeleteKey();
    bool DeleteValue();

    RegistryValue Value();
    void SetValue(const RegistryValue& vValue);

    bool EnumerateValues(std::vector<std::string>& sKeyNames, std::int32_t& iKeyCount);
    bool EnumerateSections(std::vector<std::string>& sSect, std::int32_t& iSectCount);

    void CreateEXEAssociation(const std::string& sExePath, const std::string& sClassName,
                              const std::string& sClassDescription, const std::string& sAssociation,
                              const std::string& sOpenMenuText, bool bSupportPrint,
                              const std::string& sPrintMenuText, bool bSupportNew,
                              const std::string& sNewMenuText, bool bSupportInstall,
                              const std::string& sInstallMenuText, std::int32_t lDefaultIconIndex);
    void CreateAdditionalEXEAssociations(const std::string& sClassName,
                                         const std::vector<RegistryValue>& vItems);

    std::int32_t ValueType() const { return m_ValueType; }
    void SetValueType(std::int32_t eValueType) { m_ValueType = eValueType; }
    std::int32_t ClassKey() const { return m_ClassKey; }
    void SetClassKey(std::int32_t eKey) { m_ClassKey = eKey; }
    const std::string& SectionKey() const { return m_SectionKey; }
    void SetSectionKey(const std::string& sSectionKey) { m_SectionKey = sSectionKey; }
    const std::string& ValueKey() const { return m_ValueKey; }

    RegistryValue ValueEx(std::int32_t eKey, const std::string& sSectionKey, const std::string& sValueKey,
                          std::int32_t eValueType, const RegistryValue& vDefault);
    void SetValueEx(std::int32_t eKey, const std::string& sSectionKey, const std::string& sValueKey,
                    std::int32_t eValueType, const RegistryValue& vDefault, const RegistryValue& vNewValue);

    void SetValueKey(const std::string& sValueKey) { m_ValueKey = sValueKey; }
    const RegistryValue& Default() const { return m_Default; }
    void SetDefault(const RegistryValue& vDefault) { m_Default = vDefault; }

private:
    void SetClassesValue(const std::string& sValue);
    static std::int32_t SwapEndian(std::int32_t value);
    std::string ExpandEnvStr(const std::string& source);

    [[noreturn]] void raise(long number, const std::string& description) const;
    std::string setValueDescription(const RegistryValue& value) const;

    std::shared_ptr<RegistryBackend> m_backend;
    std::int32_t m_ClassKey = 0;
    std::string m_SectionKey;
    std::string m_ValueKey;
    std::int32_t m_ValueType = 0;
    RegistryValue m_Default;
    std::string m_Machine;
};

} // namespace zorvek
