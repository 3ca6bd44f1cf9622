#include "registry/cRegistry.h"

#include <algorithm>
#include <exception>
#include <limits>
#include <optional>
#include <stdexcept>
#include <utility>

#include "registry/KeyHandle.h"
#include "registry/RegistryError.h"
#include "registry/SystemRegistry.h"

namespace zorvek {

using namespace reg;

namespace {

constexpr long kErrorRegistryOperation = 26001;
constexpr long kErrorSetValue = static_cast<long>(static_cast<std::int32_t>(0x800469A9u));
constexpr long kErrorEnumerateSections = static_cast<long>(static_cast<std::int32_t>(0x800469AAu));
constexpr long kErrorParameterList = static_cast<long>(static_cast<std::int32_t>(0x800469ACu));
constexpr long kErrorClassNotDefined = static_cast<long>(static_cast<std::int32_t>(0x800469ADu));

// RegEnumKeyA gets a name buffer of this size, terminator included.
constexpr std::uint32_t kSectionNameBuffer = 255;

// What Value's read and write work on: the section key, and the root of the computer that
// Machine names when it is set. Members close in reverse order: the key before the root.
struct Section
{
    std::optional<KeyHandle> connection;
    std::optional<KeyHandle> key;
};

enum class SectionAccess { Read, Write };

// Connects to the registry of `machine` for the root `classKey` when a computer is named, then
// opens the section key below that root: to read with KEY_QUERY_VALUE, to write with all six
// key rights, created with any missing keys on its path. Nothing when the connection fails; a
// section without a key when the key cannot be opened.
std::optional<Section> OpenSection(RegistryBackend& backend, const std::string& machine,
                                   std::int32_t classKey, const std::string& sectionKey, SectionAccess access)
{
    Section section;
    RegistryHandle root = RootHandle(classKey);
    if (!machine.empty()) {
        RegistryHandle connected = 0;
        if (backend.connectRegistry(machine, root, connected) != kErrorSuccess)
            return std::nullopt;
        section.connection.emplace(backend, connected);
        root = connected;
    }
    RegistryHandle opened = 0;
    std::uint32_t disposition = 0;
    const long status = access == SectionAccess::Read
                            ? backend.openKey(root, sectionKey, 0, kKeyQueryValue, opened)
                            : backend.createKey(root, sectionKey, kRegOptionNonVolatile, kKeyAllSpecific,
                                                opened, &disposition);
    if (status == kErrorSuccess)
        section.key.emplace(backend, opened);
    return section;
}

std::int32_t FromLittleEndian(const std::uint8_t* bytes)
{
    const std::uint32_t value =
        static_cast<std::uint32_t>(bytes[0]) | (static_cast<std::uint32_t>(bytes[1]) << 8) |
        (static_cast<std::uint32_t>(bytes[2]) << 16) | (static_cast<std::uint32_t>(bytes[3]) << 24);
    return static_cast<std::int32_t>(value);
}

// True when the text holds a "%" and, at least two places after the first one, another "%":
// something that can be an environment reference.
bool HasEnvironmentReference(const std::string& text)
{
    const std::size_t first = text.find('%');
    return first != std::string::npos && text.find('%', first + 2) != std::string::npos;
}

std::string TrimSpaces(const std::string& text)
{
    const std::size_t begin = text.find_first_not_of(' ');
    if (begin == std::string::npos)
        return {};
    const std::size_t end = text.find_last_not_of(' ');
    return text.substr(begin, end - begin + 1);
}

} // namespace

cRegistry::cRegistry(std::shared_ptr<RegistryBackend> backend) : m_backend(std::move(backend)) {}

void cRegistry::SetMachine(const std::string& sMachine)
{
    if (sMachine.size() <= 2)
        m_Machine.clear();
    else if (sMachine.compare(0, 2, "\\\\") == 0)
        m_Machine = sMachine;
    else
        m_Machine = "\\\\" + sMachine;
}

bool cRegistry::KeyExists()
{
    RegistryHandle opened = 0;
    if (m_backend->openKey(RootHandle(m_ClassKey), m_SectionKey, 0, kKeyQueryValue, opened) != kErrorSuccess)
        return false;
    const KeyHandle key(*m_backend, opened);
    return true;
}

bool cRegistry::CreateKey()
{
    RegistryHandle created = 0;
    std::uint32_t disposition = 0;
    if (m_backend->createKey(RootHandle(m_ClassKey), m_SectionKey, kRegOptionNonVolatile, kKeyAllSpecific,
                             created, &disposition) != kErrorSuccess) {
        raise(kErrorRegistryOperation, "Failed to create registry Key: '" + m_SectionKey);
    }
    const KeyHandle key(*m_backend, created);
    return true;
}

bool cRegistry::DeleteKey()
{
    if (m_backend->deleteKey(RootHandle(m_ClassKey), m_SectionKey) != kErrorSuccess) {
        raise(kErrorRegistryOperation, "Failed to delete registry Key: '" + std::to_string(m_ClassKey) +
                                           "',Section: '" + m_SectionKey);
    }
    return true;
}

bool cRegistry::DeleteValue()
{
    RegistryHandle opened = 0;
    if (m_backend->openKey(RootHandle(m_ClassKey), m_SectionKey, 0, kKeyAllSpecific, opened) !=
        kErrorSuccess) {
        raise(kErrorRegistryOperation, "Failed to open key '" + std::to_string(m_ClassKey) + "',Section: '" +
                                           m_SectionKey + "' for delete access");
    }
    const KeyHandle key(*m_backend, opened);
    if (m_backend->deleteValue(key.get(), m_ValueKey) != kErrorSuccess) {
        raise(kErrorRegistryOperation, "Failed to delete registry Key: '" + std::to_string(m_ClassKey) +
                                           "',Section: '" + m_SectionKey + "',Key: '" + m_ValueKey);
    }
    return true;
}

RegistryValue cRegistry::Value()
{
    // A computer that cannot be reached and a key that cannot be opened both give Default.
    const std::optional<Section> section =
        OpenSection(*m_backend, m_Machine, m_ClassKey, m_SectionKey, SectionAccess::Read);
    if (!section || !section->key)
        return m_Default;
    const KeyHandle& key = *section->key;

    // The first query asks for type and size only.
    std::uint8_t scratch[4] = {};
    std::uint32_t type = 0;
    std::uint32_t size = 0;
    const long probe = m_backend->queryValue(key.get(), m_ValueKey, &type, scratch, &size);
    if (probe != kErrorSuccess && probe != kErrorMoreData)
        return m_Default;
    m_ValueType = static_cast<std::int32_t>(type);

    switch (type) {
    case kRegSz:
    case kRegExpandSz:
    case kRegMultiSz: {
        // The stored bytes without the last one: a string's terminator, or a multi-string's
        // final extra zero. A value stored without any byte reads as empty text.
        if (size == 0)
            return std::string();
        std::string text(size, '\0');
        std::uint32_t got = size;
        if (m_backend->queryValue(key.get(), m_ValueKey, nullptr,
                                  reinterpret_cast<std::uint8_t*>(text.data()), &got) != kErrorSuccess) {
            return m_Default;
        }
        text.resize(std::min(got, size) > 0 ? std::min(got, size) - 1 : 0);
        if (type == kRegExpandSz)
            return ExpandEnvStr(text);
        return text;
    }
    case kRegDword:
    case kRegDwordBigEndian: {
        std::uint8_t bytes[4] = {};
        std::uint32_t got = sizeof bytes;
        if (m_backend->queryValue(key.get(), m_ValueKey, nullptr, bytes, &got) != kErrorSuccess)
            return m_Default;
        const std::int32_t number = FromLittleEndian(bytes);
        return type == kRegDwordBigEndian ? SwapEndian(number) : number;
    }
    default: {
        // N stored bytes in an array of N + 1 whose last byte stays 0.
        std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size) + 1, 0);
        std::uint32_t got = size;
        if (size > 0 &&
            m_backend->queryValue(key.get(), m_ValueKey, nullptr, bytes.data(), &got) != kErrorSuccess)
            return m_Default;
        return bytes;
    }
    }
}

void cRegistry::SetValue(const RegistryValue& vValue)
{
    // A computer that cannot be reached is not written to, and no error follows.
    const std::optional<Section> section =
        OpenSection(*m_backend, m_Machine, m_ClassKey, m_SectionKey, SectionAccess::Write);
    if (!section)
        return;
    if (!section->key)
        raise(kErrorRegistryOperation, setValueDescription(vValue));
    const KeyHandle& key = *section->key;

    long status = kErrorSuccess;
    switch (m_ValueType) {
    case static_cast<std::int32_t>(kRegSz):
    case static_cast<std::int32_t>(kRegExpandSz): {
        // The stored type follows the text, whichever of the two was asked for.
        const std::string text = TextForm(vValue);
        const std::uint32_t stored = HasEnvironmentReference(text) ? kRegExpandSz : kRegSz;
        status = m_backend->setValue(key.get(), m_ValueKey, stored,
                                     reinterpret_cast<const std::uint8_t*>(text.c_str()),
                                     static_cast<std::uint32_t>(text.size() + 1));
        break;
    }
    case static_cast<std::int32_t>(kRegBinary): {
        const auto* bytes = std::get_if<std::vector<std::uint8_t>>(&vValue);
        if (!bytes)
            throw RegistryError(kErrorRegistryOperation, std::string(), std::string());
        status = m_backend->setValue(key.get(), m_ValueKey, kRegBinary, bytes->data(),
                                     static_cast<std::uint32_t>(bytes->size()));
        break;
    }
    case static_cast<std::int32_t>(kRegDword):
    case static_cast<std::int32_t>(kRegDwordBigEndian): {
        // Both double-word types are stored as a little-endian REG_DWORD, never byte-swapped.
        std::int32_t number = 0;
        if (const auto* small = std::get_if<std::int16_t>(&vValue))
            number = *small;
        else if (const auto* large = std::get_if<std::int32_t>(&vValue))
            number = *large;
        else
            break;
        const auto bits = static_cast<std::uint32_t>(number);
        const std::uint8_t bytes[4] = {static_cast<std::uint8_t>(bits), static_cast<std::uint8_t>(bits >> 8),
                                       static_cast<std::uint8_t>(bits >> 16),
                                       static_cast<std::uint8_t>(bits >> 24)};
        status = m_backend->setValue(key.get(), m_ValueKey, kRegDword, bytes, sizeof bytes);
        break;
    }
    default:
        status = kErrorInvalidData;
        break;
    }
    if (status != kErrorSuccess)
        raise(kErrorSetValue, setValueDescription(vValue));
}

bool cRegistry::EnumerateValues(std::vector<std::string>& sKeyNames, std::int32_t& iKeyCount)
{
    sKeyNames.clear();
    iKeyCount = 0;
    RegistryHandle opened = 0;
    if (m_backend->openKey(RootHandle(m_ClassKey), m_SectionKey, 0, kKeyQueryValue, opened) != kErrorSuccess)
        return true;
    const KeyHandle key(*m_backend, opened);
    KeyInfo info;
    if (m_backend->queryInfoKey(key.get(), info) != kErrorSuccess)
        return true;
    std::vector<char> name(static_cast<std::size_t>(info.maxValueNameLength) + 1);
    for (std::uint32_t index = 0;; ++index) {
        std::uint32_t length = info.maxValueNameLength + 1;
        if (m_backend->enumValue(key.get(), index, name.data(), length, nullptr, nullptr, nullptr) !=
            kErrorSuccess)
            break;
        sKeyNames.emplace_back(name.data(), std::min<std::size_t>(length, name.size()));
        ++iKeyCount;
    }
    return true;
}

bool cRegistry::EnumerateSections(std::vector<std::string>& sSect, std::int32_t& iSectCount)
{
    try {
        sSect.clear();
        iSectCount = 0;
        RegistryHandle opened = 0;
        if (m_backend->openKey(RootHandle(m_ClassKey), m_SectionKey, 0, kKeyEnumerateSubKeys, opened) !=
            kErrorSuccess) {
            return true;
        }
        // Closed on the way out of the try block, before the failure is raised.
        const KeyHandle key(*m_backend, opened);
        char name[kSectionNameBuffer] = {};
        for (std::uint32_t index = 0;; ++index) {
            if (m_backend->enumKey(key.get(), index, name, kSectionNameBuffer) != kErrorSuccess)
                break;
            if (iSectCount == std::numeric_limits<std::int32_t>::max())
                throw std::overflow_error("Overflow");
            sSect.emplace_back(name, std::find(name, name + kSectionNameBuffer, '\0'));
            ++iSectCount;
        }
        return true;
    } catch (const std::exception& failure) {
        raise(kErrorEnumerateSections, failure.what());
    }
}

void cRegistry::CreateEXEAssociation(const std::string& sExePath, const std::string& sClassName,
                                     const std::string& sClassDescription, const std::string& sAssociation,
                                     const std::string& sOpenMenuText, bool bSupportPrint,
                                     const std::string& sPrintMenuText, bool bSupportNew,
                                     const std::string& sNewMenuText, bool bSupportInstall,
                                     const std::string& sInstallMenuText, std::int32_t lDefaultIconIndex)
{
    // The path in double quotes, so that a path with spaces stays one argument of the command.
    std::string path = TrimSpaces(sExePath);
    if (path.empty() || path.front() != '"')
        path.insert(path.begin(), '"');
    if (path.back() != '"')
        path.push_back('"');

    m_ValueType = static_cast<std::int32_t>(kRegSz);
    m_ValueKey.clear();
    const auto write = [this](const std::string& section, const std::string& text) {
        m_SectionKey = section;
        m_ValueKey.clear();
        SetClassesValue(text);
    };
    write("." + sAssociation, sClassName);
    write(sClassName, sClassDescription);
    write(sClassName + "\\shell\\open", sOpenMenuText.empty() ? "&Open" : sOpenMenuText);
    write(sClassName + "\\shell\\open\\command", path + " \"%1\"");
    if (bSupportPrint) {
        write(sClassName + "\\shell\\print", sPrintMenuText.empty() ? "&Print" : sPrintMenuText);
        write(sClassName + "\\shell\\print\\command", path + " /p \"%1\"");
    }
    if (bSupportInstall) {
        write(sClassName + "\\shell\\add",
              sInstallMenuText.empty() ? "&Install " + sAssociation : sInstallMenuText);
        write(sClassName + "\\shell\\add\\command", path + " /a \"%1\"");
    }
    if (bSupportNew) {
        write(sClassName + "\\shell\\new", sNewMenuText.empty() ? "&New" : sNewMenuText);
        write(sClassName + "\\shell\\new\\command", path + " /n \"%1\"");
    }
    if (lDefaultIconIndex >= 0)
        write(sClassName + "\\DefaultIcon", path + "," + std::to_string(lDefaultIconIndex));
}

void cRegistry::CreateAdditionalEXEAssociations(const std::string& sClassName,
                                                const std::vector<RegistryValue>& vItems)
{
    if (vItems.size() % 3 != 0) {
        raise(
            kErrorParameterList,
            "Invalid parameter list passed to CreateAdditionalEXEAssociations - expected Name/Text/Command");
    }
    m_SectionKey = sClassName;
    if (!KeyExists())
        raise(kErrorClassNotDefined,
              "Error - attempt to create additional associations before class defined.");

    // A write that fails ends only its own step; the remaining verbs are still written.
    const auto write = [this](const std::string& section, const std::string& text) {
        m_SectionKey = section;
        m_ValueKey.clear();
        try {
            SetClassesValue(text);
        } catch (const RegistryError&) {
        }
    };
    for (std::size_t i = 0; i + 2 < vItems.size(); i += 3) {
        const std::string verb = TextForm(vItems[i]);
        m_ValueType = static_cast<std::int32_t>(kRegSz);
        write(sClassName + "\\shell\\" + verb, TextForm(vItems[i + 1]));
        write(sClassName + "\\shell\\" + verb + "\\command", TextForm(vItems[i + 2]));
    }
}

RegistryValue cRegistry::ValueEx(std::int32_t eKey, const std::string& sSectionKey,
                                 const std::string& sValueKey, std::int32_t eValueType,
                                 const RegistryValue& vDefault)
{
    SetClassKey(eKey);
    SetSectionKey(sSectionKey);
    SetValueKey(sValueKey);
    SetValueType(eValueType);
    SetDefault(vDefault);
    return Value();
}

void cRegistry::SetValueEx(std::int32_t eKey, const std::string& sSectionKey, const std::string& sValueKey,
                           std::int32_t eValueType, const RegistryValue& vDefault,
                           const RegistryValue& vNewValue)
{
    SetClassKey(eKey);
    SetSectionKey(sSectionKey);
    SetValueKey(sValueKey);
    SetValueType(eValueType);
    SetDefault(vDefault);
    if (m_ValueType == static_cast<std::int32_t>(kRegSz) && TextForm(vNewValue).empty())
        SetValue(vDefault);
    else
        SetValue(vNewValue);
}

void cRegistry::SetClassesValue(const std::string& sValue)
{
    m_ClassKey = kHkeyClassesRoot;
    SetValue(sValue);
    const std::string section = m_SectionKey;
    m_ClassKey = kHkeyLocalMachine;
    m_SectionKey = "SOFTWARE\\Classes\\" + section;
    try {
        SetValue(sValue);
    } catch (...) {
        // The caller's section stays what it was, also when the second write fails.
        m_SectionKey = section;
        throw;
    }
    m_SectionKey = section;
}

std::int32_t cRegistry::SwapEndian(std::int32_t value)
{
    const auto bits = static_cast<std::uint32_t>(value);
    return static_cast<std::int32_t>((bits >> 24) | ((bits >> 8) & 0x0000FF00u) |
                                     ((bits << 8) & 0x00FF0000u) | (bits << 24));
}

std::string cRegistry::ExpandEnvStr(const std::string& source)
{
    const std::uint32_t needed = m_backend->expandEnvironmentStrings(source, nullptr, 0);
    if (needed == 0)
        return {};
    std::string expanded(needed, '\0');
    const std::uint32_t written = m_backend->expandEnvironmentStrings(source, expanded.data(), needed);
    if (written == 0 || written > needed)
        return {};
    // The expansion ends at its terminator, also when the size asked for was generous.
    expanded.resize(std::min<std::size_t>(needed - 1, expanded.find('\0')));
    return expanded;
}

void cRegistry::raise(long number, const std::string& description) const
{
    throw RegistryError(number, ExecutableBaseName() + ".cRegistry", description);
}

std::string cRegistry::setValueDescription(const RegistryValue& value) const
{
    return "Failed to set registry value Key: '" + std::to_string(m_ClassKey) + "',Section: '" +
           m_SectionKey + "',Key: '" + m_ValueKey + "' to value: '" + TextForm(value) + "'";
}

} // namespace zorvek
