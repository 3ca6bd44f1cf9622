#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

#include <QHostAddress>

namespace zorvek {

// The address checks of a server record: which texts can be sent to at all, and the
// lookup of host names with what it found kept for a while.

// Only a text that can be a DNS name (labels of letters, digits, "-" and "_", at most 63
// characters each, 253 in all) goes to the resolver: list garbage must not cost a lookup.
bool isHostName(std::string_view host);

// A port text counts only as a whole number 1..65535 (blanks around it allowed).
std::optional<quint16> portNumber(std::string_view text);

// A dotted address as it stands; nothing for any other text.
std::optional<QHostAddress> literalAddress(std::string_view host);

// Looks host names up, each distinct name once until forget(); dotted addresses never go
// to the resolver. An IPv4 address is preferred where a name has several.
class HostResolver
{
public:
    std::optional<QHostAddress> resolve(const std::string& host);
    // The next resolve asks the resolver again.
    void forget();

private:
    std::map<std::string, std::optional<QHostAddress>> m_known;
};

} // namespace zorvek
