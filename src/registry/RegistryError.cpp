#include "registry/RegistryError.h"

#include <utility>

namespace zorvek {

RegistryError::RegistryError(long number, std::string source, std::string description)
    : std::runtime_error(description.empty() ? "registry error " + std::to_string(number) : description),
      m_number(number), m_source(std::move(source)), m_description(std::move(description))
{
}

} // namespace zorvek
