#pragma once

// The Czech texts of the interface, in one place (UTF-8).
namespace zorvek::texts {

inline constexpr const char* kCaptionPrefix = "Zorvek by Halmund  (build: ";
inline constexpr const char* kRefresh = "Obnovit";
inline constexpr const char* kRefreshList = "Obnovit seznam";
inline constexpr const char* kWaiting = "Waiting...";
inline constexpr const char* kSearchLabel = "Hledat hráče:";
inline constexpr const char* kAddressLabel = "IP:port:";

inline constexpr const char* kColServerName = "Název místnosti";
inline constexpr const char* kColMode = "Mód";
inline constexpr const char* kColMap = "Mapa";
inline constexpr const char* kColFriendlyFire = "FF";
inline constexpr const char* kColKillCam = "Kam";
inline constexpr const char* kColPlayers = "Hráči";
inline constexpr const char* kColNick = "Přezdívka";
inline constexpr const char* kColPing = "Ping";
inline constexpr const char* kColScore = "Skóre";

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
inline constexpr const char* kColFoundPlayers = "Seznam hráčů";

// Info window.
inline constexpr const char* kInfoWindowTitle = "Zorvek - info";

} // namespace zorvek::texts
