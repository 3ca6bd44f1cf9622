#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zorvek {

// One text value of a YAML file in the block style that Lutris and Bottles write (PyYAML's
// output): `key: value` at the top level when `section` is empty, else one indentation
// level below the top-level line `section:`.
//
// The value may be plain (continued on more-indented lines, which join with one space),
// single-quoted ('' is a quote) or double-quoted (\\ and \" escapes), the quoted forms on
// one line. Nothing for a missing key, an empty or null value (~, null), a nested block
// or list, or a text that is not of this form where the value should be: a quote that
// does not close, a tab in the indentation, a flow or block scalar.
std::optional<std::string> YamlScalar(std::string_view text, std::string_view section, std::string_view key);

} // namespace zorvek
