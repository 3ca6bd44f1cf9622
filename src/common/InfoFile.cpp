#include "common/InfoFile.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace zorvek {

namespace {

constexpr int kFieldsPerGroup = 6;
// Every field is followed by ";" and CR LF: the next field starts three characters on.
constexpr std::size_t kFieldEndLength = 3;

// The decimal number at the start of a field, read leniently: blanks are skipped
// anywhere, then an optional sign, digits, a decimal point, an exponent; 0 without digits.
double LeadingNumber(std::string_view field)
{
    std::string number;
    bool digits = false;
    bool point = false;
    bool exponent = false;
    for (const char c : field) {
        if (c == ' ' || c == '\t' || c == '\n')
            continue;
        const char last = number.empty() ? '\0' : number.back();
        if (c >= '0' && c <= '9') {
            digits = true;
        } else if ((c == '+' || c == '-') && (number.empty() || last == 'e')) {
        } else if (c == '.' && !point && !exponent) {
            point = true;
        } else if ((c == 'e' || c == 'E') && digits && !exponent) {
            exponent = true;
            number.push_back('e');
            continue;
        } else {
            break;
        }
        number.push_back(c);
    }
    if (!digits)
        return 0;
    // An exponent without digits ("12e") does not count.
    while (!number.empty() && (number.back() == 'e' || number.back() == '+' || number.back() == '-'))
        number.pop_back();
    const char* begin = number.data() + (number.front() == '+' ? 1 : 0);
    double value = 0;
    const auto [end, ec] = std::from_chars(begin, number.data() + number.size(), value);
    if (ec == std::errc::result_out_of_range)
        return number.front() == '-' ? -std::numeric_limits<double>::infinity()
                                     : std::numeric_limits<double>::infinity();
    return end == begin ? 0 : value;
}

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

    const double height = RoundHalfEven(LeadingNumber(fields[1]));
    if (!(height >= std::numeric_limits<std::int16_t>::min() &&
          height <= std::numeric_limits<std::int16_t>::max()))
        return std::nullopt;

    InfoFile info;
    info.InfoWidth = LeadingNumber(fields[0]);
    info.InfoHeight = static_cast<std::int16_t>(height);
    info.PosterUrl = fields[2];
    info.InfoLink = fields[3];
    info.InfoToolTip = fields[4];
    return info;
}

} // namespace zorvek
