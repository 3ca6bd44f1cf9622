#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zorvek {

// The web address a link of a server list or of the info file opens as. The texts come
// from the network, and the desktop's opener would hand any other scheme to the program
// that claims it and take a bare text for a local file: only web addresses may reach it.
//
// Blanks around the text are not part of it. "http://" and "https://" addresses open as
// they stand, the scheme in any letter case (written in lower case); a text that begins
// with "www." in any letter case gets "http://" in front. Anything else (another scheme,
// a path, an option, an empty text, a scheme with nothing after it) gives nothing.
std::optional<std::string> WebAddress(std::string_view link);

} // namespace zorvek
