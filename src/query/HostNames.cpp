#include "query/HostNames.h"

#include <QString>

namespace zorvek {
namespace {

QString latin1(std::string_view text)
{
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

bool isHostName(std::string_view host)
{
    if (host.empty() || host.size() > 253 || host.front() == '.' || host.front() == '-')
        return false;
    std::size_t label = 0;
    for (const char c : host) {
        if (c == '.') {
            if (label == 0)
                return false;
            label = 0;
            continue;
        }
        const bool allowed = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                             c == '-' || c == '_';
        if (!allowed || ++label > 63)
            return false;
    }
    return true;
}

std::optional<quint16> portNumber(std::string_view text)
{
    bool ok = false;
    const uint port = latin1(text).trimmed().toUInt(&ok);
    if (!ok || port < 1 || port > 65535)
        return std::nullopt;
    return static_cast<quint16>(port);
}

std::optional<QHostAddress> literalAddress(std::string_view host)
{
    QHostAddress address;
    if (host.empty() || !address.setAddress(latin1(host)))
        return std::nullopt;
    return address;
}

} // namespace zorvek
