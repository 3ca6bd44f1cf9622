#pragma once

// The Czech texts that the program writes at run time, in one place (UTF-8). The fixed texts
// of a window (labels, column headers, the first caption of the refresh button) are part of
// its layout, in its .ui file.
namespace zorvek::texts {

inline constexpr const char* kCaptionPrefix = "Zorvek by Halmund  (build: ";
inline constexpr const char* kProgramName = "Zorvek";
inline constexpr const char* kStartupDownloading = "Stahuji seznamy serverů…";
inline constexpr const char* kRefreshList = "Obnovit seznam";
inline constexpr const char* kWaiting = "Waiting...";

inline constexpr const char* kErrorTitle = "Chyba!";
inline constexpr const char* kInfoTitle = "Info";
// "Seznam serverů (" url ") je nedostupný!"
inline constexpr const char* kListUnavailablePrefix = "Seznam serverů (";
// "Server se seznamy (" host ") je nedostupný!"
inline constexpr const char* kListHostUnavailablePrefix = "Server se seznamy (";
inline constexpr const char* kUnavailableSuffix = ") je nedostupný!";

// Join: "Nenalezena informace o hře (" caption ") v registrech." LF "Ke spuštění ..."
inline constexpr const char* kNotInstalledPrefix = "Nenalezena informace o hře (";
inline constexpr const char* kNotInstalledSuffix =
    ") v registrech.\nKe spuštění hry musí obsahovat registry informaci o její instalaci.";

// Player search and the found-players window.
inline constexpr const char* kNoPlayerFound = "Nenalezen žádný hráč...";
inline constexpr const char* kTooManyPlayersPrefix = "Nalezeno příliš mnoho hráčů...(>";
inline constexpr const char* kFoundCountPrefix = "Nalezeno hráčů: ";

// Info window.
inline constexpr const char* kInfoWindowTitle = "Zorvek - info";

} // namespace zorvek::texts
