#include "registry/WineRegistryBackend.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <vector>

#include "common/Cp1250.h"
#include "registry/KeyHandle.h"
#include "registry/MemoryRegistryBackend.h"
#include "registry/RegistryNames.h"
#include "registry/WineRegistryFile.h"

#ifndef _WIN32
extern char** environ;
#endif

namespace zorvek {

using namespace reg;

namespace {

bool IsStringType(std::uint32_t type)
{
    return type == kRegSz || type == kRegExpandSz || type == kRegMultiSz;
}

// Only a regular file is read: a pipe in a registry file's place would hold the read forever.
std::string ReadWholeFile(const std::filesystem::path& path)
{
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error))
        return {};
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return {};
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::optional<std::pair<std::filesystem::file_time_type, std::uintmax_t>>
StampOf(const std::filesystem::path& path)
{
    std::error_code error;
    const auto time = std::filesystem::last_write_time(path, error);
    if (error)
        return std::nullopt;
    const auto size = std::filesystem::file_size(path, error);
    if (error)
        return std::nullopt;
    return std::make_pair(time, size);
}

// Registry files keep texts in UTF-16; the byte-oriented functions hand them out in the
// program's code page, one byte a character.
std::vector<std::uint8_t> AnsiData(std::uint32_t type, const std::vector<std::uint8_t>& data)
{
    if (!IsStringType(type))
        return data;
    std::u16string wide;
    for (std::size_t i = 0; i + 1 < data.size(); i += 2)
        wide.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
    const std::string text = Utf16ToCp1250(wide);
    return std::vector<std::uint8_t>(text.begin(), text.end());
}

} // namespace

WineRegistryBackend::WineRegistryBackend(std::filesystem::path prefix) : m_prefix(std::move(prefix)) {}

WineRegistryBackend::~WineRegistryBackend() = default;

void WineRegistryBackend::refresh()
{
    // The files are read again when Wine has rewritten them, but never under an open handle.
    if (m_tree && m_tree->openHandleCount() > 0)
        return;
    const FileStamp system = StampOf(m_prefix / "system.reg");
    const FileStamp user = StampOf(m_prefix / "user.reg");
    if (m_tree && system == m_systemStamp && user == m_userStamp)
        return;
    m_systemStamp = system;
    m_userStamp = user;
    load();
}

MemoryRegistryBackend& WineRegistryBackend::tree()
{
    if (!m_tree)
        refresh();
    return *m_tree;
}

void WineRegistryBackend::load()
{
    m_tree = std::make_shared<MemoryRegistryBackend>();
    m_win64 = false;
    const std::pair<const char*, std::int32_t> files[] = {
        {"system.reg", kHkeyLocalMachine},
        {"user.reg", kHkeyCurrentUser},
    };
    for (const auto& [fileName, root] : files) {
        const WineRegistryFile file = ParseWineRegistryFile(ReadWholeFile(m_prefix / fileName));
        if (root == kHkeyLocalMachine)
            m_win64 = file.win64;
        for (const auto& key : file.keys) {
            std::string path;
            for (const auto& part : key.path) {
                if (!path.empty())
                    path += '\\';
                path += Utf16ToCp1250(part);
            }
            RegistryHandle created = 0;
            if (m_tree->createKey(RootHandle(root), path, 0, kKeyAllSpecific, created, nullptr) !=
                kErrorSuccess)
                continue;
            const KeyHandle handle(*m_tree, created);
            for (const auto& value : key.values) {
                const std::vector<std::uint8_t> data = AnsiData(value.type, value.data);
                m_tree->setValue(handle.get(), Utf16ToCp1250(value.name), value.type, data.data(),
                                 static_cast<std::uint32_t>(data.size()));
            }
        }
    }
    loadEnvironment();
}

void WineRegistryBackend::loadEnvironment()
{
    // The environment a program in the prefix sees: the Unix environment that Wine passes on,
    // the folders Wine derives from the registry, then the system's, the user's and the
    // session's variables from the registry, later ones winning.
#ifndef _WIN32
    for (char** entry = environ; entry && *entry; ++entry) {
        const std::string variable(*entry);
        const std::size_t equals = variable.find('=');
        if (equals != std::string::npos && equals > 0)
            m_tree->setEnvironmentVariable(variable.substr(0, equals), variable.substr(equals + 1));
    }
#endif
    const auto readText = [this](std::int32_t root, const std::string& section, const std::string& name,
                                 std::uint32_t* type = nullptr) -> std::optional<std::string> {
        RegistryHandle opened = 0;
        if (m_tree->openKey(RootHandle(root), section, 0, kKeyQueryValue, opened) != kErrorSuccess)
            return std::nullopt;
        const KeyHandle key(*m_tree, opened);
        std::uint32_t storedType = 0;
        std::uint32_t size = 0;
        if (m_tree->queryValue(key.get(), name, &storedType, nullptr, &size) != kErrorSuccess ||
            !IsStringType(storedType))
            return std::nullopt;
        std::string data(size, '\0');
        m_tree->queryValue(key.get(), name, nullptr, reinterpret_cast<std::uint8_t*>(data.data()), &size);
        if (type)
            *type = storedType;
        return data.substr(0, data.find('\0'));
    };
    const auto valueNames = [this](std::int32_t root, const std::string& section) {
        std::vector<std::string> names;
        RegistryHandle opened = 0;
        if (m_tree->openKey(RootHandle(root), section, 0, kKeyQueryValue, opened) != kErrorSuccess)
            return names;
        const KeyHandle key(*m_tree, opened);
        char name[16384];
        for (std::uint32_t i = 0;; ++i) {
            std::uint32_t length = sizeof name;
            if (m_tree->enumValue(key.get(), i, name, length, nullptr, nullptr, nullptr) != kErrorSuccess)
                break;
            names.emplace_back(name, length);
        }
        return names;
    };
    const auto expand = [this](const std::string& text) {
        std::string expanded(m_tree->expandEnvironmentStrings(text, nullptr, 0), '\0');
        m_tree->expandEnvironmentStrings(text, expanded.data(), static_cast<std::uint32_t>(expanded.size()));
        return expanded.substr(0, expanded.find('\0'));
    };

    const std::string windowsVersion = "Software\\Microsoft\\Windows NT\\CurrentVersion";
    const std::string systemRoot =
        readText(kHkeyLocalMachine, windowsVersion, "SystemRoot").value_or("C:\\windows");
    m_tree->setEnvironmentVariable("SystemRoot", systemRoot);
    m_tree->setEnvironmentVariable("windir", systemRoot);
    m_tree->setEnvironmentVariable("SystemDrive", systemRoot.substr(0, 2));
    const std::pair<const char*, const char*> folders[] = {
        {"ProgramFilesDir", "ProgramFiles"},
        {"ProgramFilesDir (x86)", "ProgramFiles(x86)"},
        {"ProgramW6432Dir", "ProgramW6432"},
        {"CommonFilesDir", "CommonProgramFiles"},
        {"CommonFilesDir (x86)", "CommonProgramFiles(x86)"},
        {"CommonW6432Dir", "CommonProgramW6432"},
    };
    for (const auto& [valueName, variable] : folders) {
        if (const auto folder =
                readText(kHkeyLocalMachine, "Software\\Microsoft\\Windows\\CurrentVersion", valueName))
            m_tree->setEnvironmentVariable(variable, *folder);
    }
    const std::string profiles = windowsVersion + "\\ProfileList";
    if (const auto programData = readText(kHkeyLocalMachine, profiles, "ProgramData")) {
        m_tree->setEnvironmentVariable("ProgramData", expand(*programData));
        m_tree->setEnvironmentVariable("ALLUSERSPROFILE", expand(*programData));
    }
    if (const auto publicFolder = readText(kHkeyLocalMachine, profiles, "Public"))
        m_tree->setEnvironmentVariable("PUBLIC", expand(*publicFolder));

    const std::pair<std::int32_t, const char*> sources[] = {
        {kHkeyLocalMachine, "System\\CurrentControlSet\\Control\\Session Manager\\Environment"},
        {kHkeyCurrentUser, "Environment"},
        {kHkeyCurrentUser, "Volatile Environment"},
    };
    for (const auto& [root, section] : sources) {
        for (const auto& variable : valueNames(root, section)) {
            std::uint32_t type = 0;
            if (const auto text = readText(root, section, variable, &type))
                m_tree->setEnvironmentVariable(variable, type == kRegExpandSz ? expand(*text) : *text);
        }
    }
}

long WineRegistryBackend::openKey(RegistryHandle key, const std::string& subKey, std::uint32_t options,
                                  std::uint32_t access, RegistryHandle& result)
{
    if (IsRootHandle(key))
        refresh();
    if (access & kWriteRights) {
        RegistryHandle probe = 0;
        const long status = openKey(key, subKey, options, kKeyQueryValue, probe);
        if (status != kErrorSuccess)
            return status;
        const KeyHandle existing(*this, probe);
        return kErrorAccessDenied;
    }
    // A win64 prefix keeps what 32-bit programs (the games and their installers) write below
    // HKLM\Software in Software\Wow6432Node; that view is looked at first.
    if (key == RootHandle(kHkeyLocalMachine) && m_win64) {
        const std::optional<std::string> redirected = Wow6432Path(subKey);
        if (redirected && tree().openKey(key, *redirected, options, access, result) == kErrorSuccess)
            return kErrorSuccess;
    }
    return tree().openKey(key, subKey, options, access, result);
}

long WineRegistryBackend::createKey(RegistryHandle, const std::string&, std::uint32_t, std::uint32_t,
                                    RegistryHandle&, std::uint32_t*)
{
    return kErrorAccessDenied;
}

long WineRegistryBackend::closeKey(RegistryHandle key)
{
    return tree().closeKey(key);
}

long WineRegistryBackend::queryValue(RegistryHandle key, const std::string& valueName, std::uint32_t* type,
                                     std::uint8_t* data, std::uint32_t* size)
{
    return tree().queryValue(key, valueName, type, data, size);
}

long WineRegistryBackend::setValue(RegistryHandle, const std::string&, std::uint32_t, const std::uint8_t*,
                                   std::uint32_t)
{
    return kErrorAccessDenied;
}

long WineRegistryBackend::deleteKey(RegistryHandle, const std::string&)
{
    return kErrorAccessDenied;
}

long WineRegistryBackend::deleteValue(RegistryHandle, const std::string&)
{
    return kErrorAccessDenied;
}

long WineRegistryBackend::enumKey(RegistryHandle key, std::uint32_t index, char* name, std::uint32_t nameSize)
{
    return tree().enumKey(key, index, name, nameSize);
}

long WineRegistryBackend::enumValue(RegistryHandle key, std::uint32_t index, char* name,
                                    std::uint32_t& nameLength, std::uint32_t* type, std::uint8_t* data,
                                    std::uint32_t* dataSize)
{
    return tree().enumValue(key, index, name, nameLength, type, data, dataSize);
}

long WineRegistryBackend::queryInfoKey(RegistryHandle key, KeyInfo& info)
{
    return tree().queryInfoKey(key, info);
}

long WineRegistryBackend::connectRegistry(const std::string& machine, RegistryHandle rootKey,
                                          RegistryHandle& result)
{
    if (!machine.empty())
        return kErrorBadNetpath;
    refresh();
    return tree().connectRegistry(machine, rootKey, result);
}

std::uint32_t WineRegistryBackend::expandEnvironmentStrings(const std::string& source, char* destination,
                                                            std::uint32_t size)
{
    return tree().expandEnvironmentStrings(source, destination, size);
}

std::size_t WineRegistryBackend::openHandleCount() const
{
    return m_tree ? m_tree->openHandleCount() : 0;
}

} // namespace zorvek
