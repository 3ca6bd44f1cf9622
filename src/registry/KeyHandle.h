#pragma once

#include "registry/RegistryBackend.h"

namespace zorvek {

// An open key of a registry backend, closed when it goes out of scope. Made from a handle
// that an open, a create or a connect of that backend has just returned, on the line after
// the call succeeded; never before.
class KeyHandle
{
public:
    KeyHandle(RegistryBackend& backend, reg::RegistryHandle handle);
    KeyHandle(KeyHandle&& other) noexcept;
    KeyHandle(const KeyHandle&) = delete;
    KeyHandle& operator=(const KeyHandle&) = delete;
    KeyHandle& operator=(KeyHandle&&) = delete;
    ~KeyHandle();

    reg::RegistryHandle get() const { return m_handle; }

private:
    RegistryBackend* m_backend; // none once moved from
    reg::RegistryHandle m_handle;
};

} // namespace zorvek
