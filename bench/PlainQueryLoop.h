#pragma once

#include <cstdint>
#include <vector>

namespace zorvek {

// The floor of a refresh: one plain UDP socket per server, all queries sent, then every
// first reply read with epoll; no parsing, no widgets, no event loop.
class PlainQueryLoop
{
public:
    struct Round
    {
        double micros = 0;
        int answered = 0;
    };

    explicit PlainQueryLoop(std::vector<std::uint16_t> ports);
    ~PlainQueryLoop();
    PlainQueryLoop(const PlainQueryLoop&) = delete;
    PlainQueryLoop& operator=(const PlainQueryLoop&) = delete;

    bool open();
    // Sends the status query to every server and waits for one reply from each, at most timeoutMs.
    Round run(int timeoutMs = 5000);

private:
    void drain();

    std::vector<std::uint16_t> m_ports;
    std::vector<int> m_sockets;
    int m_epoll = -1;
};

} // namespace zorvek
