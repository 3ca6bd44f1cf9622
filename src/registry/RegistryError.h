#pragma once

#include <stdexcept>
#include <string>

namespace zorvek {

// A failure raised by the registry class: an error number, the source that raised it and a
// description, as its callers expect them.
class RegistryError : public std::runtime_error
{
public:
    RegistryError(long number, std::string source, std::string description);

    long number() const { return m_number; }
    const std::string& source() const { return m_source; }
    const std::string& description() const { return m_description; }

private:
    long m_number;
    std::string m_source;
    std::string m_description;
};

} // namespace zorvek
