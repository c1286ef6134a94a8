#include "publish/WebText.h"

namespace qm {
namespace {

constexpr std::string_view kHexDigits = "0123456789ABCDEF";

void appendPercent(std::string& out, unsigned char byte) {
    out += '%';
    out += kHexDigits[byte >> 4];
    out += kHexDigits[byte & 0xF];
}

void appendUnicodeEscape(std::string& out, unsigned value) {
    out += "\\u";
    for (int shift = 12; shift >= 0; shift -= 4) {
        out += kHexDigits[(value >> shift) & 0xF];
    }
}

bool isLineSeparatorAt(std::string_view text, std::size_t i) {
    // U+2028 and U+2029 end a line in older script engines.
    return i + 2 < text.size() && static_cast<unsigned char>(text[i]) == 0xE2 &&
           static_cast<unsigned char>(text[i + 1]) == 0x80 &&
           (static_cast<unsigned char>(text[i + 2]) == 0xA8 ||
            static_cast<unsigned char>(text[i + 2]) == 0xA9);
}

} // namespace

std::string jsStringContent(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const char c = utf8[i];
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\'' || c == '\\') {
            out += '\\';
            out += c;
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\t') {
            out += "\\t";
        } else if (byte < 0x20 || byte == 0x7F) {
            appendUnicodeEscape(out, byte);
        } else if (c == '<' && i + 1 < utf8.size() && utf8[i + 1] == '/') {
            out += "<\\/";
            ++i;
        } else if (isLineSeparatorAt(utf8, i)) {
            appendUnicodeEscape(out,
                                static_cast<unsigned char>(utf8[i + 2]) == 0xA8 ? 0x2028 : 0x2029);
            i += 2;
        } else {
            out += c;
        }
    }
    return out;
}

std::string htmlEscaped(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (const char c : utf8) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\'':
            out += "&#39;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string urlFileName(std::string_view utf8) {
    // A colon would make "hall:one.mp4" a URL of the scheme "hall".
    constexpr std::string_view special = " \"#%<>?\\^`{|}'&:";
    std::string out;
    out.reserve(utf8.size());
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F || special.find(c) != std::string_view::npos) {
            appendPercent(out, byte);
        } else {
            out += c;
        }
    }
    return out;
}

std::string urlStrict(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
                           (c >= '0' && c <= '9') || c == '-' || c == '.' || c == '_' || c == '~';
        if (plain) {
            out += c;
        } else {
            appendPercent(out, byte);
        }
    }
    return out;
}

} // namespace qm
