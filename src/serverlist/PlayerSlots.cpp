#include "serverlist/PlayerSlots.h"

namespace zorvek {

PlayerSlots::PlayerSlots(const PlayerSlots& other)
    : m_slots(other.m_slots ? std::make_unique<Array>(*other.m_slots) : nullptr)
{
}

PlayerSlots& PlayerSlots::operator=(const PlayerSlots& other)
{
    if (this != &other)
        m_slots = other.m_slots ? std::make_unique<Array>(*other.m_slots) : nullptr;
    return *this;
}

PlayerSlots::~PlayerSlots() = default;

PlayerSlot& PlayerSlots::operator[](std::size_t k)
{
    if (!m_slots)
        m_slots = std::make_unique<Array>();
    return (*m_slots)[k];
}

const PlayerSlot& PlayerSlots::operator[](std::size_t k) const
{
    static const PlayerSlot kNone;
    return m_slots ? (*m_slots)[k] : kNone;
}

} // namespace zorvek
