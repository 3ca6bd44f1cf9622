#pragma once

#include <string_view>

#include <QString>

namespace zorvek {

// The levelshot picture of a map: <levelshots folder>/<game folder>/<map name>.jpg, with the
// map name exactly as the server sent it (decoded from Windows-1250) and the game folder as
// the game table writes it ("cod4\"). Empty when the map name would lead the lookup out of
// the game's folder ("/", "\", a NUL byte, "." or ".."): the caller then shows the default.
QString LevelshotPath(const QString& levelshotsFolder, std::string_view gameFolder, std::string_view mapName);

} // namespace zorvek
