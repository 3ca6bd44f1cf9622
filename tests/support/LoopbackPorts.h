#pragma once

#include <QtGlobal>

namespace zorvek {

// A TCP port of 127.0.0.1 on which nothing listens: bound to port 0, noted, closed.
quint16 ClosedTcpPort();

// A UDP port of 127.0.0.1 on which nothing is bound, found the same way.
quint16 ClosedUdpPort();

} // namespace zorvek
