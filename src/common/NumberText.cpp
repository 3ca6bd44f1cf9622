#include "common/NumberText.h"

#include <charconv>
#include <cmath>

namespace zorvek {

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n';
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

} // namespace

double ReadNumber(std::string_view text)
{
    std::string number; // what was read, without blanks, in the form from_chars takes
    std::size_t i = 0;
    const auto skipBlanks = [&] {
        while (i < text.size() && isBlank(text[i]))
            ++i;
    };
    const auto takeDigits = [&] {
        int taken = 0;
        for (skipBlanks(); i < text.size() && isDigit(text[i]); skipBlanks()) {
            number += text[i++];
            ++taken;
        }
        return taken;
    };

    skipBlanks();
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    int digits = takeDigits();
    if (i < text.size() && text[i] == '.') {
        ++i;
        number += '.';
        digits += takeDigits();
    }
    if (digits == 0)
        return 0;

    // An exponent counts only with at least one digit; "1e" and "1e+" read as 1.
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        const std::size_t mantissaLength = number.size();
        ++i;
        number += 'e';
        skipBlanks();
        if (i < text.size() && (text[i] == '+' || text[i] == '-'))
            number += text[i++];
        if (takeDigits() == 0)
            number.resize(mantissaLength);
    }

    // A number beyond the range of a double, too large or too small, reads as 0 like a text
    // without digits, so the result is always finite: a score is written back as text and
    // reads as itself again, which infinity ("inf") would not, and a width or height of the
    // info file stays a size that a window can take.
    double value = 0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (error != std::errc() || end != number.data() + number.size())
        return 0;
    return negative ? -value : value;
}

std::string ShortestDecimalText(double value)
{
    if (value == 0)
        return "0"; // also for -0
    // Plain digits for every everyday number; the exponent form only for very large
    // or very small ones, where digits would run to hundreds of characters.
    char buffer[64];
    const double magnitude = std::fabs(value);
    const auto [end, error] =
        magnitude >= 1e-5 && magnitude < 1e15
            ? std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed)
            : std::to_chars(buffer, buffer + sizeof buffer, value);
    if (error != std::errc())
        return "0";
    return std::string(buffer, end);
}

} // namespace zorvek
