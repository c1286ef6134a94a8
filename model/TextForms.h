#pragma once
// The number and colour text forms shared by every file the tool writes.

#include <cstdint>
#include <string>
#include <string_view>

namespace qm {

// Decimal, up to 15 significant digits, no trailing zeros, no leading zero
// before the point: 130, 12.5, .5, -.25, 0.
std::string numberText(double value);

// Fixed masks: "#####.000", "0.00", "0.000", "###", "######.0", "###.0".
// '#' digits are dropped when zero (so 0.25 with "#####.000" is ".250",
// 0 with "###" is empty); '0' digits always show.
std::string maskText(double value, std::string_view mask);

// Leading blanks, TABs, CR and LF skipped; "&h"/"&H" introduces hexadecimal;
// otherwise an optionally signed decimal with an optional fraction; stops at
// the first character that cannot continue; no digits gives 0.
double numberValue(std::string_view text);

// Nearest integer, ties to even, clamped to the 32-bit range.
std::int32_t roundToInt(double value);

// numberValue rounded to an integer, ties to even.
std::int32_t integerValue(std::string_view text);

// 0x00BBGGRR as six upper-case hex digits, blue first ("0000FF" is pure red).
std::string colourText(std::uint32_t colour);

// 0x00BBGGRR as the web's RRGGBB ("FF0000" is pure red).
std::string hexColourText(std::uint32_t colour);

// Blanks (spaces only) removed from both ends.
std::string_view trimBlanks(std::string_view text);
// Blanks and NUL characters removed from both ends.
std::string_view trimBlanksAndNuls(std::string_view text);

} // namespace qm
