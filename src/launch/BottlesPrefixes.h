#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <QString>

#include "launch/ProcessLauncher.h"

namespace zorvek {

// The Wine prefixes of Bottles: every bottle is one prefix, run by the Wine build its
// bottle.yml names.

// The `Runner` that a bottle.yml names; nothing when it names none.
std::optional<std::string> ParseBottleRunner(std::string_view text);

// Every bottle below `home`, of the native Bottles (~/.local/share/bottles/bottles/) and
// then of its Flatpak edition (~/.var/app/com.usebottles.bottles/data/bottles/bottles/),
// each in the order of the folder names. A bottle is a folder with a bottle.yml that names
// its runner; its wine is <bottles data>/runners/<runner>/bin/wine when that program
// exists, else empty (the system's). Folders without a usable bottle.yml are left out.
std::vector<WineRunner> BottlesPrefixes(const QString& home);

} // namespace zorvek
