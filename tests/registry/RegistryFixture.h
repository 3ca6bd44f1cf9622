#pragma once

#include <memory>
#include <string>
#include <tuple>

#include <gtest/gtest.h>

#include "RegistryTestSupport.h"
#include "registry/RegistryError.h"
#include "registry/SystemRegistry.h"

namespace zorvek::test {

// A case run on one backend: prepares the backend's registry and, afterwards, checks that
// the registry class left no key handle open.
template <class Param> class HarnessTest : public ::testing::TestWithParam<Param>
{
protected:
    std::shared_ptr<RegistryBackend> prepare(const HarnessKind& kind, const Seed& seed = {})
    {
        m_harness = kind.make();
        m_backend = m_harness->prepare(seed);
        return m_backend;
    }

    void TearDown() override
    {
        if (!m_harness)
            return;
        if (const auto open = m_harness->openHandles()) {
            EXPECT_EQ(*open, 0u) << "key handles left open";
        }
    }

    std::unique_ptr<BackendHarness> m_harness;
    std::shared_ptr<RegistryBackend> m_backend;
};

inline std::string ErrorSource()
{
    return ExecutableBaseName() + ".cRegistry";
}

// Runs the action and checks that it raises the registry error with these parts.
template <class Action>
void ExpectRegistryError(Action action, long number, const std::string& source,
                         const std::string& description)
{
    try {
        action();
        ADD_FAILURE() << "no error raised, expected " << number;
    } catch (const RegistryError& error) {
        EXPECT_EQ(error.number(), number);
        EXPECT_EQ(error.source(), source);
        EXPECT_EQ(error.description(), description);
    }
}

template <class Case>
std::string CaseName(const ::testing::TestParamInfo<std::tuple<HarnessKind, Case>>& info)
{
    return std::get<0>(info.param).name + "_" + std::get<1>(info.param).name;
}

inline std::string HarnessName(const ::testing::TestParamInfo<HarnessKind>& info)
{
    return info.param.name;
}

} // namespace zorvek::test
