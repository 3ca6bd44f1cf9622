#pragma once

#include <cstdlib>
#include <optional>
#include <string>

namespace zorvek::fixtures {

// Sets or clears an environment variable for one test and restores it afterwards.
class ScopedVariable
{
public:
    // `value` null: the variable is unset.
    ScopedVariable(const char* name, const char* value) : m_name(name)
    {
        if (const char* old = std::getenv(name))
            m_old = old;
        set(value);
    }
    ~ScopedVariable() { set(m_old ? m_old->c_str() : nullptr); }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    void set(const char* value)
    {
        if (value)
            setenv(m_name.c_str(), value, 1);
        else
            unsetenv(m_name.c_str());
    }

    std::string m_name;
    std::optional<std::string> m_old;
};

} // namespace zorvek::fixtures
