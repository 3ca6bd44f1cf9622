#pragma once

#include <map>
#include <string>
#include <vector>

#include <QtGlobal>

namespace zorvek {

// The status queries that wait for their server's name to be looked up: at most one per
// slot, the slot's latest. A query that was superseded (the slot queried again, the game
// switched) no longer waits, so a late answer sends nothing for it.
class WaitingQueries
{
public:
    struct Query
    {
        int slot = 0;
        quint16 port = 0;
    };

    // The slot's query waits for `host`, in place of anything it waited for before.
    void add(int slot, const std::string& host, quint16 port);
    // The slot's query no longer waits.
    void cancel(int slot);
    void clear();

    // The queries that waited for `host`, in slot order; they wait no longer.
    std::vector<Query> take(const std::string& host);

    bool empty() const { return m_bySlot.empty(); }

private:
    struct Waiting
    {
        std::string host;
        quint16 port = 0;
    };
    std::map<int, Waiting> m_bySlot;
};

} // namespace zorvek
