#include "model/TextForms.h"

#include <array>
#include <cctype>
#include <charconv>
#include <cmath>
#include <limits>

namespace qm {
namespace {

constexpr int kSignificantDigits = 15;

bool isLeadingSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

int hexDigitValue(char c) {
    if (isDigit(c)) {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

std::string_view stripLeadingZeros(std::string_view digits) {
    const std::size_t first = digits.find_first_not_of('0');
    return first == std::string_view::npos ? std::string_view{} : digits.substr(first);
}

// Hexadecimal digits after "&h", read as a non-negative magnitude. Absurdly
// long digit runs stop growing the value instead of overflowing to infinity.
double readHex(std::string_view text) {
    double value = 0.0;
    for (const char c : text) {
        const int digit = hexDigitValue(c);
        if (digit < 0) {
            break;
        }
        if (value < 1e300) {
            value = value * 16.0 + digit;
        }
    }
    return value;
}

// An optionally signed decimal with an optional fraction; the digits are
// handed to from_chars so that the reading is correctly rounded.
double readDecimal(std::string_view text) {
    std::size_t at = 0;
    bool negative = false;
    if (at < text.size() && (text[at] == '-' || text[at] == '+')) {
        negative = text[at] == '-';
        ++at;
    }
    const std::size_t intStart = at;
    while (at < text.size() && isDigit(text[at])) {
        ++at;
    }
    const std::string_view intDigits = text.substr(intStart, at - intStart);
    std::string_view fracDigits;
    if (at < text.size() && text[at] == '.') {
        const std::size_t fracStart = ++at;
        while (at < text.size() && isDigit(text[at])) {
            ++at;
        }
        fracDigits = text.substr(fracStart, at - fracStart);
    }
    if (intDigits.empty() && fracDigits.empty()) {
        return 0.0;
    }
    const std::string_view significantInt = stripLeadingZeros(intDigits);
    std::string number(significantInt.empty() ? "0" : significantInt);
    if (!fracDigits.empty()) {
        number += '.';
        number += fracDigits;
    }
    double magnitude = 0.0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(),
                                              magnitude, std::chars_format::fixed);
    if (error == std::errc::result_out_of_range) {
        // Too large saturates, too small is zero.
        magnitude = significantInt.empty() ? 0.0 : std::numeric_limits<double>::max();
    }
    return negative ? -magnitude : magnitude;
}

} // namespace

std::string numberText(double value) {
    if (!std::isfinite(value) || value == 0.0) {
        return "0";
    }
    // "d.dddddddddddddde±x": the value rounded to 15 significant digits.
    std::array<char, 64> buffer{};
    const auto [end, error] =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), std::fabs(value),
                      std::chars_format::scientific, kSignificantDigits - 1);
    const std::string_view scientific(buffer.data(), static_cast<std::size_t>(end - buffer.data()));
    const std::size_t ePos = scientific.find('e');
    std::string digits;
    for (const char c : scientific.substr(0, ePos)) {
        if (c != '.') {
            digits += c;
        }
    }
    int exponent = 0;
    const std::string_view expText = scientific.substr(ePos + 1);
    const char* expBegin = expText.data() + (expText.front() == '+' ? 1 : 0);
    std::from_chars(expBegin, expText.data() + expText.size(), exponent);
    const std::size_t lastNonZero = digits.find_last_not_of('0');
    digits.resize(lastNonZero + 1);

    const int intDigitCount = exponent + 1;
    const int digitCount = static_cast<int>(digits.size());
    std::string text = value < 0 ? "-" : "";
    if (intDigitCount <= 0) {
        text += '.';
        text.append(static_cast<std::size_t>(-intDigitCount), '0');
        text += digits;
    } else if (intDigitCount >= digitCount) {
        text += digits;
        text.append(static_cast<std::size_t>(intDigitCount - digitCount), '0');
    } else {
        const auto split = static_cast<std::size_t>(intDigitCount);
        text += digits.substr(0, split);
        text += '.';
        text += digits.substr(split);
    }
    return text;
}

std::string maskText(double value, std::string_view mask) {
    const std::size_t point = mask.find('.');
    const std::string_view intMask = mask.substr(0, point);
    const int decimals =
        point == std::string_view::npos ? 0 : static_cast<int>(mask.size() - point - 1);
    std::size_t minIntDigits = 0;
    for (const char c : intMask) {
        minIntDigits += c == '0' ? 1 : 0;
    }
    const double finite = std::isfinite(value) ? value : 0.0;

    // Large enough for the widest double written in fixed notation.
    std::array<char, 400> buffer{};
    const auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(),
                                            std::fabs(finite), std::chars_format::fixed, decimals);
    const std::string_view fixed(buffer.data(), static_cast<std::size_t>(end - buffer.data()));
    const std::size_t fixedPoint = fixed.find('.');
    std::string intDigits(stripLeadingZeros(fixed.substr(0, fixedPoint)));
    const std::string_view fracDigits =
        fixedPoint == std::string_view::npos ? std::string_view{} : fixed.substr(fixedPoint + 1);
    if (intDigits.size() < minIntDigits) {
        intDigits.insert(0, minIntDigits - intDigits.size(), '0');
    }
    const bool allZero =
        stripLeadingZeros(intDigits).empty() && stripLeadingZeros(fracDigits).empty();
    std::string text = finite < 0 && !allZero ? "-" : "";
    text += intDigits;
    if (decimals > 0) {
        text += '.';
        text += fracDigits;
    }
    return text;
}

double numberValue(std::string_view text) {
    std::size_t at = 0;
    while (at < text.size() && isLeadingSpace(text[at])) {
        ++at;
    }
    const std::string_view rest = text.substr(at);
    if (rest.size() >= 2 && rest[0] == '&' && (rest[1] == 'h' || rest[1] == 'H')) {
        return readHex(rest.substr(2));
    }
    return readDecimal(rest);
}

std::int32_t roundToInt(double value) {
    if (std::isnan(value)) {
        return 0;
    }
    constexpr double kLow = std::numeric_limits<std::int32_t>::min();
    constexpr double kHigh = std::numeric_limits<std::int32_t>::max();
    if (value <= kLow) {
        return std::numeric_limits<std::int32_t>::min();
    }
    if (value >= kHigh) {
        return std::numeric_limits<std::int32_t>::max();
    }
    const double floorValue = std::floor(value);
    const double fraction = value - floorValue;
    double rounded = floorValue;
    if (fraction > 0.5) {
        rounded = floorValue + 1.0;
    } else if (fraction == 0.5) {
        rounded = std::fmod(floorValue, 2.0) == 0.0 ? floorValue : floorValue + 1.0;
    }
    return static_cast<std::int32_t>(rounded);
}

std::int32_t integerValue(std::string_view text) {
    return roundToInt(numberValue(text));
}

std::string colourText(std::uint32_t colour) {
    constexpr std::string_view kHexDigits = "0123456789ABCDEF";
    std::string text(6, '0');
    std::uint32_t rest = colour & 0xFFFFFFu;
    for (std::size_t i = 6; i-- > 0;) {
        text[i] = kHexDigits[rest & 0xFu];
        rest >>= 4;
    }
    return text;
}

std::string hexColourText(std::uint32_t colour) {
    const std::uint32_t red = colour & 0xFFu;
    const std::uint32_t green = (colour >> 8) & 0xFFu;
    const std::uint32_t blue = (colour >> 16) & 0xFFu;
    return colourText((red << 16) | (green << 8) | blue);
}

std::string_view trimBlanks(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::string_view trimBlanksAndNuls(std::string_view text) {
    constexpr std::string_view kBlankOrNul("\0 ", 2);
    const std::size_t first = text.find_first_not_of(kBlankOrNul);
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(kBlankOrNul) - first + 1);
}

} // namespace qm
