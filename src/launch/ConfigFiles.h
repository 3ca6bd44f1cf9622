#pragma once

#include <optional>
#include <string>

#include <QString>

namespace zorvek {

// Reading the files other programs keep about their installations: only ever reading,
// and only what is plainly one of their small files.

// The bytes of the regular file `path` when it holds at most 1 MiB; nothing for a missing
// or unreadable file, a folder, a device or pipe (whose read could wait forever) or a
// larger file.
std::optional<std::string> ReadConfigFile(const QString& path);

// The wine of the Wine build `name` that Lutris or Bottles keep in `runnersFolder`:
// <runnersFolder>/<name>/bin/wine when `name` is a plain folder name and that program
// exists, else empty (the system's wine runs the prefix).
QString RunnerWine(const QString& runnersFolder, const std::string& name);

} // namespace zorvek
