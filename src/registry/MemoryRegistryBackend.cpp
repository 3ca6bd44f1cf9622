#include "registry/MemoryRegistryBackend.h"

#include <algorithm>
#include <cstring>

#include "registry/RegistryNames.h"

namespace zorvek {

using namespace reg;

namespace {

// Windows limits a key name to 255 characters and a value name to 16383.
constexpr std::size_t kMaxKeyNameLength = 255;
constexpr std::size_t kMaxValueNameLength = 16383;

// A path below a key: a leading "\" is a bad path name.
bool SplitPath(const std::string& path, std::vector<std::string>& parts)
{
    if (!path.empty() && path.front() == '\\')
        return false;
    parts = SplitKeyPath(path);
    return true;
}

} // namespace

struct MemoryRegistryBackend::Value
{
    std::string name;
    std::uint32_t type = 0;
    std::vector<std::uint8_t> data;
};

struct MemoryRegistryBackend::Key
{
    std::string name;
    // The upper-case form of the name, which orders and finds subkeys.
    std::string folded;
    Key* parent = nullptr;
    bool deleted = false;
    // Subkeys in the registry's order: by the upper-case form of their names.
    std::vector<std::shared_ptr<Key>> children;
    // Values in the order they were first set.
    std::vector<Value> values;

    std::vector<std::shared_ptr<Key>>::const_iterator lowerBound(const std::string& foldedName) const
    {
        return std::lower_bound(
            children.begin(), children.end(), foldedName,
            [](const std::shared_ptr<Key>& c, const std::string& f) { return c->folded < f; });
    }

    std::shared_ptr<Key> child(const std::string& childName) const
    {
        const std::string foldedName = FoldName(childName);
        const auto at = lowerBound(foldedName);
        return at != children.end() && (*at)->folded == foldedName ? *at : nullptr;
    }
};

MemoryRegistryBackend::MemoryRegistryBackend()
{
    for (const std::int32_t root :
         {kHkeyCurrentUser, kHkeyLocalMachine, kHkeyUsers, kHkeyPerformanceData, kHkeyCurrentConfig}) {
        m_roots[root] = std::make_shared<Key>();
    }
    // The two class trees that HKEY_CLASSES_ROOT shows exist on every system.
    bool created = false;
    build(m_roots[kHkeyCurrentUser], {"Software", "Classes"}, created);
    build(m_roots[kHkeyLocalMachine], {"Software", "Classes"}, created);
}

MemoryRegistryBackend::~MemoryRegistryBackend() = default;

long MemoryRegistryBackend::resolve(RegistryHandle key, const std::string& subKey, View& from,
                                    std::vector<std::string>& path) const
{
    if (const long status = resolve(key, from); status != kErrorSuccess)
        return status;
    return SplitPath(subKey, path) ? kErrorSuccess : kErrorBadPathname;
}

long MemoryRegistryBackend::resolve(RegistryHandle key, View& view, std::uint32_t needed) const
{
    if (const long status = resolve(key, view); status != kErrorSuccess)
        return status;
    return (view.access & needed) == needed ? kErrorSuccess : kErrorAccessDenied;
}

long MemoryRegistryBackend::resolve(RegistryHandle key, View& view) const
{
    if (key == RootHandle(kHkeyClassesRoot)) {
        view.primary = walk(m_roots.at(kHkeyCurrentUser), {"Software", "Classes"});
        view.secondary = walk(m_roots.at(kHkeyLocalMachine), {"Software", "Classes"});
        view.access = kKeyAllSpecific;
        return kErrorSuccess;
    }
    if (IsRootHandle(key)) {
        const auto root = m_roots.find(static_cast<std::int32_t>(key));
        if (root == m_roots.end())
            return kErrorInvalidHandle;
        view.primary = root->second;
        view.secondary = nullptr;
        view.access = kKeyAllSpecific;
        return kErrorSuccess;
    }
    const auto found = m_handles.find(key);
    if (found == m_handles.end())
        return kErrorInvalidHandle;
    view = found->second;
    if (view.primary && view.primary->deleted)
        view.primary = nullptr;
    if (view.secondary && view.secondary->deleted)
        view.secondary = nullptr;
    if (!view.primary && !view.secondary)
        return kErrorKeyDeleted;
    return kErrorSuccess;
}

std::shared_ptr<MemoryRegistryBackend::Key> MemoryRegistryBackend::walk(std::shared_ptr<Key> from,
                                                                        const std::vector<std::string>& path)
{
    for (const auto& part : path) {
        if (!from)
            return nullptr;
        from = from->child(part);
    }
    return from;
}

std::size_t MemoryRegistryBackend::existingDepth(const std::shared_ptr<Key>& from,
                                                 const std::vector<std::string>& path)
{
    std::size_t depth = 0;
    std::shared_ptr<Key> at = from;
    if (!at)
        return 0;
    for (const auto& part : path) {
        at = at->child(part);
        if (!at)
            break;
        ++depth;
    }
    return depth;
}

std::shared_ptr<MemoryRegistryBackend::Key>
MemoryRegistryBackend::build(std::shared_ptr<Key> from, const std::vector<std::string>& path, bool& created)
{
    created = false;
    for (const auto& part : path) {
        auto next = from->child(part);
        if (!next) {
            next = std::make_shared<Key>();
            next->name = part;
            next->folded = FoldName(part);
            next->parent = from.get();
            from->children.insert(from->lowerBound(next->folded), next);
            created = true;
        }
        from = next;
    }
    return from;
}

MemoryRegistryBackend::Value* MemoryRegistryBackend::findValue(Key& key, const std::string& name)
{
    for (auto& value : key.values) {
        if (NamesEqual(value.name, name))
            return &value;
    }
    return nullptr;
}

std::vector<std::shared_ptr<MemoryRegistryBackend::Key>> MemoryRegistryBackend::childrenOf(const View& view)
{
    std::vector<std::shared_ptr<Key>> result;
    if (view.primary)
        result = view.primary->children;
    if (view.secondary) {
        for (const auto& c : view.secondary->children) {
            if (!view.primary || !view.primary->child(c->name))
                result.push_back(c);
        }
        std::stable_sort(result.begin(), result.end(),
                         [](const std::shared_ptr<Key>& a, const std::shared_ptr<Key>& b) {
                             return a->folded < b->folded;
                         });
    }
    return result;
}

std::vector<const MemoryRegistryBackend::Value*> MemoryRegistryBackend::valuesOf(const View& view)
{
    std::vector<const Value*> result;
    if (view.primary) {
        for (const auto& v : view.primary->values)
            result.push_back(&v);
    }
    if (view.secondary) {
        for (const auto& v : view.secondary->values) {
            const bool shadowed = std::any_of(result.begin(), result.end(),
                                              [&](const Value* r) { return NamesEqual(r->name, v.name); });
            if (!shadowed)
                result.push_back(&v);
        }
    }
    return result;
}

RegistryHandle MemoryRegistryBackend::addHandle(View view)
{
    const RegistryHandle handle = m_nextHandle;
    m_nextHandle += 4;
    m_handles.emplace(handle, std::move(view));
    return handle;
}

long MemoryRegistryBackend::openKey(RegistryHandle key, const std::string& subKey, std::uint32_t,
                                    std::uint32_t access, RegistryHandle& result)
{
    View from;
    std::vector<std::string> path;
    if (const long status = resolve(key, subKey, from, path); status != kErrorSuccess)
        return status;
    View opened;
    opened.primary = walk(from.primary, path);
    opened.secondary = walk(from.secondary, path);
    opened.access = access;
    if (!opened.primary && !opened.secondary)
        return kErrorFileNotFound;
    result = addHandle(std::move(opened));
    return kErrorSuccess;
}

long MemoryRegistryBackend::createKey(RegistryHandle key, const std::string& subKey, std::uint32_t,
                                      std::uint32_t access, RegistryHandle& result,
                                      std::uint32_t* disposition)
{
    View from;
    std::vector<std::string> path;
    if (const long status = resolve(key, subKey, from, path); status != kErrorSuccess)
        return status;
    for (const auto& part : path) {
        if (part.size() > kMaxKeyNameLength)
            return kErrorInvalidParameter;
    }
    View opened;
    opened.primary = walk(from.primary, path);
    opened.secondary = walk(from.secondary, path);
    opened.access = access;
    bool created = false;
    if (!opened.primary && !opened.secondary) {
        // A new key under the class root goes to the machine's class tree unless more of its
        // path already exists in the user's one.
        if (from.primary &&
            (!from.secondary || existingDepth(from.primary, path) > existingDepth(from.secondary, path)))
            opened.primary = build(from.primary, path, created);
        else
            opened.secondary = build(from.secondary, path, created);
    }
    if (disposition)
        *disposition = created ? kRegCreatedNewKey : kRegOpenedExistingKey;
    result = addHandle(std::move(opened));
    return kErrorSuccess;
}

long MemoryRegistryBackend::closeKey(RegistryHandle key)
{
    if (IsRootHandle(key))
        return kErrorSuccess;
    return m_handles.erase(key) == 1 ? kErrorSuccess : kErrorInvalidHandle;
}

long MemoryRegistryBackend::queryValue(RegistryHandle key, const std::string& valueName, std::uint32_t* type,
                                       std::uint8_t* data, std::uint32_t* size)
{
    View view;
    if (const long status = resolve(key, view, kKeyQueryValue); status != kErrorSuccess)
        return status;
    if (data && !size)
        return kErrorInvalidParameter;
    const Value* found = nullptr;
    for (const Value* v : valuesOf(view)) {
        if (NamesEqual(v->name, valueName)) {
            found = v;
            break;
        }
    }
    if (!found)
        return kErrorFileNotFound;
    if (type)
        *type = found->type;
    const auto stored = static_cast<std::uint32_t>(found->data.size());
    long status = kErrorSuccess;
    if (data) {
        if (*size < stored)
            status = kErrorMoreData;
        else if (stored > 0)
            std::memcpy(data, found->data.data(), stored);
    }
    if (size)
        *size = stored;
    return status;
}

long MemoryRegistryBackend::setValue(RegistryHandle key, const std::string& valueName, std::uint32_t type,
                                     const std::uint8_t* data, std::uint32_t size)
{
    View view;
    if (const long status = resolve(key, view, kKeySetValue); status != kErrorSuccess)
        return status;
    if (valueName.size() > kMaxValueNameLength || (!data && size > 0))
        return kErrorInvalidParameter;
    Key& target = view.primary ? *view.primary : *view.secondary;
    Value* value = findValue(target, valueName);
    if (!value) {
        target.values.push_back(Value{valueName, 0, {}});
        value = &target.values.back();
    }
    value->type = type;
    value->data.assign(data, data + size);
    return kErrorSuccess;
}

long MemoryRegistryBackend::deleteKey(RegistryHandle key, const std::string& subKey)
{
    View from;
    std::vector<std::string> path;
    if (const long status = resolve(key, subKey, from, path); status != kErrorSuccess)
        return status;
    std::shared_ptr<Key> target = walk(from.primary, path);
    if (!target)
        target = walk(from.secondary, path);
    if (!target)
        return kErrorFileNotFound;
    // Root keys cannot be deleted, nor can a key that still has subkeys.
    if (!target->parent || !target->children.empty())
        return kErrorAccessDenied;
    auto& siblings = target->parent->children;
    siblings.erase(std::find(siblings.begin(), siblings.end(), target));
    target->deleted = true;
    target->parent = nullptr;
    return kErrorSuccess;
}

long MemoryRegistryBackend::deleteValue(RegistryHandle key, const std::string& valueName)
{
    View view;
    if (const long status = resolve(key, view, kKeySetValue); status != kErrorSuccess)
        return status;
    for (Key* target : {view.primary.get(), view.secondary.get()}) {
        if (!target)
            continue;
        const auto found = std::find_if(target->values.begin(), target->values.end(),
                                        [&](const Value& v) { return NamesEqual(v.name, valueName); });
        if (found != target->values.end()) {
            target->values.erase(found);
            return kErrorSuccess;
        }
    }
    return kErrorFileNotFound;
}

long MemoryRegistryBackend::enumKey(RegistryHandle key, std::uint32_t index, char* name,
                                    std::uint32_t nameSize)
{
    View view;
    if (const long status = resolve(key, view, kKeyEnumerateSubKeys); status != kErrorSuccess)
        return status;
    // Only a merged class key needs its two lists joined.
    const auto children = view.secondary ? childrenOf(view) : std::vector<std::shared_ptr<Key>>();
    const auto& list = view.secondary ? children : view.primary->children;
    if (index >= list.size())
        return kErrorNoMoreItems;
    const std::string& childName = list[index]->name;
    if (!name || childName.size() + 1 > nameSize)
        return kErrorMoreData;
    std::memcpy(name, childName.c_str(), childName.size() + 1);
    return kErrorSuccess;
}

long MemoryRegistryBackend::enumValue(RegistryHandle key, std::uint32_t index, char* name,
                                      std::uint32_t& nameLength, std::uint32_t* type, std::uint8_t* data,
                                      std::uint32_t* dataSize)
{
    View view;
    if (const long status = resolve(key, view, kKeyQueryValue); status != kErrorSuccess)
        return status;
    if (data && !dataSize)
        return kErrorInvalidParameter;
    const auto values = valuesOf(view);
    if (index >= values.size())
        return kErrorNoMoreItems;
    const Value& value = *values[index];
    if (!name || value.name.size() + 1 > nameLength)
        return kErrorMoreData;
    std::memcpy(name, value.name.c_str(), value.name.size() + 1);
    nameLength = static_cast<std::uint32_t>(value.name.size());
    if (type)
        *type = value.type;
    const auto stored = static_cast<std::uint32_t>(value.data.size());
    long status = kErrorSuccess;
    if (data) {
        if (*dataSize < stored)
            status = kErrorMoreData;
        else if (stored > 0)
            std::memcpy(data, value.data.data(), stored);
    }
    if (dataSize)
        *dataSize = stored;
    return status;
}

long MemoryRegistryBackend::queryInfoKey(RegistryHandle key, KeyInfo& info)
{
    View view;
    if (const long status = resolve(key, view, kKeyQueryValue); status != kErrorSuccess)
        return status;
    info = KeyInfo{};
    for (const auto& child : childrenOf(view)) {
        ++info.subKeys;
        info.maxSubKeyLength = std::max(info.maxSubKeyLength, static_cast<std::uint32_t>(child->name.size()));
    }
    for (const Value* value : valuesOf(view)) {
        ++info.values;
        info.maxValueNameLength =
            std::max(info.maxValueNameLength, static_cast<std::uint32_t>(value->name.size()));
        info.maxValueSize = std::max(info.maxValueSize, static_cast<std::uint32_t>(value->data.size()));
    }
    return kErrorSuccess;
}

long MemoryRegistryBackend::connectRegistry(const std::string& machine, RegistryHandle rootKey,
                                            RegistryHandle& result)
{
    // Only the local computer is reachable.
    if (!machine.empty())
        return kErrorBadNetpath;
    return openKey(rootKey, std::string(), 0, kKeyAllSpecific, result);
}

std::uint32_t MemoryRegistryBackend::expandEnvironmentStrings(const std::string& source, char* destination,
                                                              std::uint32_t size)
{
    // A reference is "%" name "%"; an unknown name, and a "%" without a partner, stay as written.
    std::string expanded;
    std::size_t at = 0;
    const std::size_t end = std::min(source.size(), source.find('\0'));
    while (at < end) {
        if (source[at] != '%') {
            expanded.push_back(source[at++]);
            continue;
        }
        const std::size_t close = source.find('%', at + 1);
        if (close == std::string::npos || close >= end) {
            expanded.append(source, at, end - at);
            break;
        }
        const std::string name = source.substr(at + 1, close - at - 1);
        const auto found =
            std::find_if(m_environment.begin(), m_environment.end(), [&](const auto& variable) {
                return !name.empty() && NamesEqual(variable.first, name);
            });
        if (found != m_environment.end())
            expanded += found->second;
        else
            expanded.append(source, at, close - at + 1);
        at = close + 1;
    }
    const auto needed = static_cast<std::uint32_t>(expanded.size() + 1);
    if (destination && size >= needed)
        std::memcpy(destination, expanded.c_str(), needed);
    return needed;
}

void MemoryRegistryBackend::setEnvironmentVariable(const std::string& name, const std::string& value)
{
    for (auto& variable : m_environment) {
        if (NamesEqual(variable.first, name)) {
            variable.second = value;
            return;
        }
    }
    m_environment.emplace_back(name, value);
}

std::size_t MemoryRegistryBackend::openHandleCount() const
{
    return m_handles.size();
}

} // namespace zorvek
