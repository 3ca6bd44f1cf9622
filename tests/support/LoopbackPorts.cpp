#include "support/LoopbackPorts.h"

#include <QTcpServer>
#include <QUdpSocket>

namespace zorvek {

quint16 ClosedTcpPort()
{
    QTcpServer server;
    if (!server.listen(QHostAddress::LocalHost, 0))
        return 0;
    const quint16 port = server.serverPort();
    server.close();
    return port;
}

quint16 ClosedUdpPort()
{
    QUdpSocket socket;
    if (!socket.bind(QHostAddress::LocalHost, 0))
        return 0;
    const quint16 port = socket.localPort();
    socket.close();
    return port;
}

} // namespace zorvek
