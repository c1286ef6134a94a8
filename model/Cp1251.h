#pragma once
// Windows-1251: the single-byte code page of the options and project files.
// Text is UTF-8 in memory.

#include <cstddef>
#include <string>
#include <string_view>

namespace qm {

// Every byte maps to one character; the unassigned 0x98 maps to U+0098 so
// that files round-trip byte for byte.
std::string cp1251ToUtf8(std::string_view bytes);

struct Cp1251Result {
    std::string bytes;
    bool lossless = true; // false when a character had no Windows-1251 form ('?' written)
};
Cp1251Result utf8ToCp1251(std::string_view utf8);

// True when every character of the UTF-8 text has a Windows-1251 form.
bool fitsCp1251(std::string_view utf8);

// Longest prefix of the UTF-8 text whose Windows-1251 form is at most
// maxBytes long; never splits a character.
std::string cutToCp1251Bytes(std::string_view utf8, std::size_t maxBytes);

} // namespace qm
