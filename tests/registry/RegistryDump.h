#pragma once

#include <string>
#include <vector>

#include "registry/RegistryBackend.h"

namespace zorvek::test {

// Everything the tests left in a registry, one line per key and per value: the raw type and
// bytes, and what the registry class reads from it. The Windows run under Wine writes this
// for advapi32; the native run builds it from the same prefix's files and compares.
std::vector<std::string> DumpTestKeys(RegistryBackend& backend);

} // namespace zorvek::test
