#include "registry/KeyHandle.h"

#include <utility>

namespace zorvek {

KeyHandle::KeyHandle(RegistryBackend& backend, reg::RegistryHandle handle)
    : m_backend(&backend), m_handle(handle)
{
}

KeyHandle::KeyHandle(KeyHandle&& other) noexcept
    : m_backend(std::exchange(other.m_backend, nullptr)), m_handle(other.m_handle)
{
}

KeyHandle::~KeyHandle()
{
    if (m_backend)
        m_backend->closeKey(m_handle);
}

} // namespace zorvek
