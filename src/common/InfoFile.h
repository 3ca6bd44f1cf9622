#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zorvek {

// What a genuine info file of the list host says about the poster of the info window.
// Texts are the file's bytes (Windows-1250), decoded where they reach the screen or the browser.
struct InfoFile
{
    double InfoWidth = 0;        // poster width in pixels, fractions kept
    std::int16_t InfoHeight = 0; // poster height in pixels
    std::string PosterUrl;
    std::string InfoLink;
    std::string InfoToolTip;
};

// A text is an info file only when it holds this marker somewhere.
inline constexpr std::string_view kInfoMarker = "$$$&&&***";

// Reads groups of six fields, each field ended by ";" and a two-character line break;
// the last group wins. Nothing for a text without the marker, with a field that lacks
// its ";" (a cut file, an extra line break) or with a height beyond 16 bits.
std::optional<InfoFile> ParseInfoFile(std::string_view text);

} // namespace zorvek
