#include "query/WaitingQueries.h"

namespace zorvek {

void WaitingQueries::add(int slot, const std::string& host, quint16 port)
{
    m_bySlot[slot] = Waiting{host, port};
}

void WaitingQueries::cancel(int slot)
{
    m_bySlot.erase(slot);
}

void WaitingQueries::clear()
{
    m_bySlot.clear();
}

std::vector<WaitingQueries::Query> WaitingQueries::take(const std::string& host)
{
    std::vector<Query> taken;
    for (auto it = m_bySlot.begin(); it != m_bySlot.end();) {
        if (it->second.host == host) {
            taken.push_back({it->first, it->second.port});
            it = m_bySlot.erase(it);
        } else {
            ++it;
        }
    }
    return taken;
}

} // namespace zorvek
