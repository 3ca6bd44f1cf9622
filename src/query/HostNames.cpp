#include "query/HostNames.h"

#include <algorithm>

#include <QHostInfo>
#include <QList>
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

std::optional<QHostAddress> HostResolver::resolve(const std::string& host)
{
    if (host.empty())
        return std::nullopt;
    const auto known = m_known.find(host);
    if (known != m_known.end())
        return known->second;
    std::optional<QHostAddress> result = literalAddress(host);
    if (!result && isHostName(host)) {
        const QList<QHostAddress> addresses = QHostInfo::fromName(latin1(host)).addresses();
        const auto v4 = std::find_if(addresses.begin(), addresses.end(), [](const QHostAddress& a) {
            return a.protocol() == QAbstractSocket::IPv4Protocol;
        });
        if (v4 != addresses.end())
            result = *v4;
        else if (!addresses.isEmpty())
            result = addresses.first();
    }
    m_known[host] = result;
    return result;
}

void HostResolver::forget()
{
    m_known.clear();
}

} // namespace zorvek
