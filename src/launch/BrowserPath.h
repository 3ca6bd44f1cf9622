#pragma once

#include <string>
#include <string_view>

namespace zorvek {

class cRegistry;

// The default web browser's executable, looked up once at start-up.

// The browser's executable from the command the system opens web addresses with: the
// command up to and including its first ".exe" (any letter case), without a leading
// double quote. A command without ".exe" gives an empty text.
std::string BrowserPathFromCommand(std::string_view command);

// The command of the default browser in the registry (HKEY_CLASSES_ROOT,
// "HTTP\shell\open\command", the key's default value), empty when it cannot be read.
std::string ReadBrowserCommand(cRegistry& registry);

// BrowserPath: on Windows the cut of the registry's browser command; elsewhere the
// absolute path of `xdg-open` found on PATH. Empty when there is none.
std::string FindBrowserPath(cRegistry& registry);

} // namespace zorvek
