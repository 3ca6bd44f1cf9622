#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include <QByteArray>
#include <QString>

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

// The poster file beside the levelshots: <programFolder>/levelshots/infoposter.jpg.
QString PosterPath(const QString& programFolder);

// Writes the downloaded poster bytes unchanged to the poster file. False, with no poster
// file left behind, when there are no bytes or the file cannot be written (for instance
// when the levelshots folder is missing; it is never created).
bool WritePoster(const QByteArray& bytes, const QString& programFolder);

// Deletes the poster file if it exists.
void DeletePoster(const QString& programFolder);

} // namespace zorvek
