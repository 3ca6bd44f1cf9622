#pragma once

#include <array>
#include <cstddef>
#include <memory>
#include <string>

namespace zorvek {

inline constexpr int kMaxPlayers = 64;

// One player of a status reply. Texts are the reply's bytes (Windows-1250),
// decoded only where they reach the screen.
struct PlayerSlot
{
    std::string PlayerName;
    double PlayerPing = 0;
    std::string PlayerScore;
};

// The 64 player slots of one server slot (1..64; element 0 is unused), made when a player is
// first stored: most of the 255 server slots never hold one, and all their slots together
// would take over a megabyte from the start. A slot never stored reads as an empty player.
class PlayerSlots
{
public:
    using Array = std::array<PlayerSlot, kMaxPlayers + 1>;

    PlayerSlots() = default;
    PlayerSlots(const PlayerSlots& other);
    PlayerSlots& operator=(const PlayerSlots& other);
    PlayerSlots(PlayerSlots&&) noexcept = default;
    PlayerSlots& operator=(PlayerSlots&&) noexcept = default;
    ~PlayerSlots();

    // Slot k for storing: all 64 are made with the first.
    PlayerSlot& operator[](std::size_t k);
    const PlayerSlot& operator[](std::size_t k) const;
    // Whether any player was ever stored.
    bool made() const { return m_slots != nullptr; }

private:
    std::unique_ptr<Array> m_slots;
};

} // namespace zorvek
