#pragma once

#include <optional>
#include <string_view>

#include <QHostAddress>

namespace zorvek {

// The address checks of a server record: which host and port texts can be sent to at all.

// Only a text that can be a DNS name (labels of letters, digits, "-" and "_", at most 63
// characters each, 253 in all) goes to the resolver: list garbage must not cost a lookup.
bool isHostName(std::string_view host);

// A port text counts only as a whole number 1..65535 (blanks around it allowed).
std::optional<quint16> portNumber(std::string_view text);

// A dotted address as it stands; nothing for any other text.
std::optional<QHostAddress> literalAddress(std::string_view host);

} // namespace zorvek
