#include "publish/ScriptScrambler.h"

#include <algorithm>
#include <array>
#include <utility>
#include <vector>

namespace qm {
namespace {

using Replacement = std::pair<std::string_view, std::string_view>;

// The blanks around these operators go, in exactly this order.
constexpr std::array<Replacement, 28> kSqueezes = {{
    {" =", "="}, {"= ", "="}, {" <", "<"}, {"< ", "<"}, {" >", ">"}, {"> ", ">"}, {" -", "-"},
    {"- ", "-"}, {" +", "+"}, {"+ ", "+"}, {" /", "/"}, {"/ ", "/"}, {" *", "*"}, {"* ", "*"},
    {" ,", ","}, {", ", ","}, {" ;", ";"}, {"; ", ";"}, {" !", "!"}, {"! ", "!"}, {" (", "("},
    {"( ", "("}, {" )", ")"}, {") ", ")"}, {" {", "{"}, {"{ ", "{"}, {" }", "}"}, {"} ", "}"},
}};

std::string replaceAll(std::string_view text, std::string_view from, std::string_view to) {
    std::string out;
    out.reserve(text.size());
    std::size_t start = 0;
    for (std::size_t hit = text.find(from); hit != std::string_view::npos;
         hit = text.find(from, start)) {
        out.append(text.substr(start, hit - start));
        out.append(to);
        start = hit + from.size();
    }
    out.append(text.substr(start));
    return out;
}

// A line cut into code and string-literal pieces. No squeeze pattern holds a
// quote, so squeezing each code piece alone equals squeezing the whole line
// outside the literals.
struct Piece {
    std::string text;
    bool literal = false;
};

std::vector<Piece> splitLiterals(std::string_view line) {
    std::vector<Piece> pieces;
    std::size_t i = 0;
    while (i < line.size()) {
        const char c = line[i];
        if (c == '"' || c == '\'') {
            std::size_t end = i + 1;
            while (end < line.size() && line[end] != c) {
                end += line[end] == '\\' ? 2 : 1;
            }
            end = std::min(end + 1, line.size());
            pieces.push_back({std::string(line.substr(i, end - i)), true});
            i = end;
        } else {
            const std::size_t end = std::min(line.find_first_of("\"'", i), line.size());
            pieces.push_back({std::string(line.substr(i, end - i)), false});
            i = end;
        }
    }
    return pieces;
}

std::string squeezeCode(std::string code) {
    for (char& c : code) {
        if (c == '\t') {
            c = ' ';
        }
    }
    for (const auto& [from, to] : kSqueezes) {
        code = replaceAll(code, from, to);
    }
    return code;
}

std::string collapseBlankRuns(std::string_view code) {
    std::string out;
    out.reserve(code.size());
    for (const char c : code) {
        if (c != ' ' || out.empty() || out.back() != ' ') {
            out += c;
        }
    }
    return out;
}

std::string normalisedLine(std::string_view line) {
    std::vector<Piece> pieces = splitLiterals(line);
    for (Piece& piece : pieces) {
        if (!piece.literal) {
            piece.text = collapseBlankRuns(squeezeCode(std::move(piece.text)));
        }
    }
    // Blanks at both ends of the line; both ends are code unless a literal
    // sits there.
    if (!pieces.empty() && !pieces.front().literal) {
        std::string& front = pieces.front().text;
        front.erase(0, std::min(front.find_first_not_of(' '), front.size()));
    }
    if (!pieces.empty() && !pieces.back().literal) {
        std::string& back = pieces.back().text;
        const std::size_t last = back.find_last_not_of(' ');
        back.erase(last == std::string::npos ? 0 : last + 1);
    }
    std::string out;
    for (const Piece& piece : pieces) {
        out += piece.text;
    }
    return out;
}

std::vector<std::string_view> splitLines(std::string_view script) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < script.size()) {
        std::size_t end = script.find('\n', start);
        if (end == std::string_view::npos) {
            end = script.size();
        }
        std::string_view line = script.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

constexpr std::string_view kHexDigits = "0123456789ABCDEF";

void appendHex(std::string& out, unsigned value, int digits) {
    for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4) {
        out += kHexDigits[(value >> shift) & 0xF];
    }
}

// Decodes one UTF-8 sequence at i; a malformed byte stands for itself as
// U+0080..U+00FF would, which keeps the output well-formed.
unsigned decodeUtf8(std::string_view text, std::size_t& i) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const int length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    if (length == 1 || i + length > text.size()) {
        ++i;
        return lead;
    }
    unsigned value = lead & (0x3F >> (length - 1));
    for (int k = 1; k < length; ++k) {
        const auto next = static_cast<unsigned char>(text[i + k]);
        if ((next & 0xC0) != 0x80) {
            ++i;
            return lead;
        }
        value = (value << 6) | (next & 0x3F);
    }
    i += length;
    return value;
}

void appendUnicodeEscape(std::string& out, unsigned codePoint) {
    if (codePoint > 0xFFFF) {
        const unsigned v = codePoint - 0x10000;
        appendUnicodeEscape(out, 0xD800 + (v >> 10));
        appendUnicodeEscape(out, 0xDC00 + (v & 0x3FF));
        return;
    }
    out += "%u";
    appendHex(out, codePoint, 4);
}

constexpr std::array<std::pair<std::string_view, char>, 6> kHiddenDigits = {{
    {"%7", '\x08'},
    {"%6", '\x05'},
    {"%5", '\x03'},
    {"%4", '\x02'},
    {"%3", '\x01'},
    {"%2", '\x07'},
}};

std::string decoyPrelude() {
    constexpr auto lines = std::to_array<std::string_view>({
        "function unknown(){",
        "var f_st1 = 0.4;",
        "var f_st2 = 0.15;",
        "var f_st3 = 0.314759;",
        "var f_st4 = 0.002;",
        "var f_st5 = 0.83;",
        "var f_st6 = 0.557;",
        "var f_st7 = 0.5;",
        "var f_st8 = 0.99991;",
        "var f_st9 = 0.46012;",
        "var f_st0 = 0.370;",
        "",
        "var s_icon1 = \"FNLS SFjF gwgweghrgggtt\";",
        "var s_icon2 = \"FNLS Fgg hhxhkk332Bhdkd\";",
        "var s_icon3 = \"FNLS KtrseE jmmf keOY37\";",
        "var s_icon4 = \"FNLK 1665HfDWdlghfffggg\";",
        "",
        "f_st1 = f_st2 + f_st3/f_st5 + f_st1/f_st2;",
        "f_st2 = f_st3 + f_st5/f_st1 + f_st3/f_st2;",
        "f_st3 = f_st4 + f_st5/f_st2 + f_st4/f_st2;",
        "",
        "icon1 = icon2 + icon3;",
        "",
        "//resize *********************************************",
        "",
        "icon4 = icon1 + icon3;",
        "",
        "f_st7 = f_st3 + f_st3/f_st5 + f_st6/f_st1;",
        "f_st8 = f_st2 + f_st7/f_st2 + f_st3/f_st5;",
        "f_st9 = f_st1 + f_st7/f_st3 + f_st4/f_st1;",
        "",
        "};",
    });
    // The closing "};" has no line end of its own.
    std::string out;
    for (const std::string_view line : lines) {
        if (!out.empty()) {
            out += "\r\n";
        }
        out += line;
    }
    return out;
}

std::string repeated(std::string_view unit, int count) {
    std::string out;
    out.reserve(unit.size() * static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        out += unit;
    }
    return out;
}

} // namespace

std::string ScriptScrambler::joinedText(std::string_view script) {
    std::string joined;
    for (const std::string_view line : splitLines(script)) {
        const std::string normal = normalisedLine(line);
        if (!normal.empty()) {
            joined += normal;
            joined += ' ';
        }
    }
    return joined;
}

std::string ScriptScrambler::escaped(std::string_view joined) {
    std::string out;
    out.reserve(joined.size() * 3);
    std::size_t i = 0;
    while (i < joined.size()) {
        const auto byte = static_cast<unsigned char>(joined[i]);
        if (byte < 0x80) {
            out += '%';
            appendHex(out, byte, 2);
            ++i;
        } else {
            appendUnicodeEscape(out, decodeUtf8(joined, i));
        }
    }
    return out;
}

std::string ScriptScrambler::hiddenDigits(std::string_view escapedText) {
    std::string out(escapedText);
    for (const auto& [pattern, byte] : kHiddenDigits) {
        out = replaceAll(out, pattern, std::string_view(&byte, 1));
    }
    return out;
}

std::string ScriptScrambler::evalExpression(std::string_view hidden) {
    std::string out = "eval(unescape((\"";
    out += hidden;
    out += "\")";
    for (const auto& [pattern, byte] : kHiddenDigits) {
        out += ".replace(/";
        out += byte;
        out += "/g,\"";
        out += pattern;
        out += "\")";
    }
    out += "));";
    return out;
}

std::string ScriptScrambler::scrambled(std::string_view script) {
    const std::string blankTabs = repeated(" \t", 2000);
    const std::string lineEnds = repeated("\r\n", 100);
    std::string out = decoyPrelude();
    out += lineEnds;
    out += blankTabs;
    out += evalExpression(hiddenDigits(escaped(joinedText(script))));
    out += blankTabs;
    out += lineEnds;
    return out;
}

FileResult ScriptScrambler::scrambleFile(const std::filesystem::path& path) {
    const FileRead plain = readWholeFile(path);
    if (plain.error) {
        return plain.error;
    }
    return writeFileAtomically(path, scrambled(plain.bytes));
}

} // namespace qm
