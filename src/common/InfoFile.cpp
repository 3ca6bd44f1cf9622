#include "common/InfoFile.h"

#include <cmath>
#include <limits>

#include "common/NumberText.h"

namespace zorvek {

namespace {

constexpr int kFieldsPerGroup = 6;
// Every field is followed by ";" and CR LF: the next field starts three characters on.
constexpr std::size_t kFieldEndLength = 3;

// Rounds to the nearest whole number, halves to the even one (300.5 -> 300, 301.5 -> 302).
double RoundHalfEven(double value)
{
    const double lower = std::floor(value);
    const double fraction = value - lower;
    if (fraction < 0.5)
        return lower;
    if (fraction > 0.5)
        return lower + 1;
    return std::fmod(lower, 2.0) == 0 ? lower : lower + 1;
}

} // namespace

std::optional<InfoFile> ParseInfoFile(std::string_view text)
{
    if (text.find(kInfoMarker) == std::string_view::npos)
        return std::nullopt;

    std::string_view fields[kFieldsPerGroup];
    std::size_t pos = 0;
    while (pos < text.size()) {
        for (auto& field : fields) {
            const std::size_t end = text.find(';', pos);
            // A field without its ";" is not part of the format: the whole file is ignored.
            if (end == std::string_view::npos)
                return std::nullopt;
            field = text.substr(pos, end - pos);
            pos = end + kFieldEndLength;
        }
    }

    const double height = RoundHalfEven(ReadNumber(fields[1]));
    if (!(height >= std::numeric_limits<std::int16_t>::min() &&
          height <= std::numeric_limits<std::int16_t>::max()))
        return std::nullopt;

    InfoFile info;
    info.InfoWidth = ReadNumber(fields[0]);
    info.InfoHeight = static_cast<std::int16_t>(height);
    info.PosterUrl = fields[2];
    info.InfoLink = fields[3];
    info.InfoToolTip = fields[4];
    return info;
}

} // namespace zorvek
