#include "app/cli/ServedFiles.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <system_error>

namespace qm::cli {
namespace {

namespace fs = std::filesystem;

struct MimeType {
    std::string_view extension;
    std::string_view type;
};

// Everything a published package holds, with the video formats the publisher accepts.
constexpr std::array kMimeTypes = {
    MimeType{"html", "text/html; charset=utf-8"},
    MimeType{"htm", "text/html; charset=utf-8"},
    MimeType{"js", "text/javascript; charset=utf-8"},
    MimeType{"css", "text/css; charset=utf-8"},
    MimeType{"png", "image/png"},
    MimeType{"jpg", "image/jpeg"},
    MimeType{"jpeg", "image/jpeg"},
    MimeType{"gif", "image/gif"},
    MimeType{"mp4", "video/mp4"},
    MimeType{"m4v", "video/x-m4v"},
    MimeType{"webm", "video/webm"},
    MimeType{"ogv", "video/ogg"},
    MimeType{"ogg", "video/ogg"},
    MimeType{"mov", "video/quicktime"},
    MimeType{"qt", "video/quicktime"},
    MimeType{"bat", "text/plain; charset=windows-1251"},
    MimeType{"txt", "text/plain; charset=utf-8"},
    MimeType{"json", "application/json"},
};

bool escapesRoot(const fs::path& candidate, const fs::path& root) {
    const fs::path relative = candidate.lexically_relative(root);
    return relative.empty() || *relative.begin() == "..";
}

} // namespace

std::optional<std::string> decodedRequestPath(std::string_view raw) {
    std::string out;
    out.reserve(raw.size());
    for (std::size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] != '%') {
            out += raw[i];
            continue;
        }
        // Exactly two hex digits; an unsigned value takes no sign.
        unsigned byte = 0;
        const char* digits = raw.data() + i + 1;
        const char* end = raw.data() + std::min(i + 3, raw.size());
        const auto [stop, error] = std::from_chars(digits, end, byte, 16);
        if (error != std::errc{} || stop != digits + 2) {
            return std::nullopt;
        }
        out += static_cast<char>(byte);
        i += 2;
    }
    if (out.find('\0') != std::string::npos) {
        return std::nullopt;
    }
    return out;
}

ServedFile resolveRequestPath(const fs::path& root, std::string_view raw) {
    const std::optional<std::string> path = decodedRequestPath(raw);
    if (!path || path->empty() || path->front() != '/') {
        return {PathVerdict::BadRequest, {}};
    }
    if (path->find('\\') != std::string::npos) {
        return {PathVerdict::Outside, {}};
    }
    fs::path candidate = root / fs::path(path->substr(1)).relative_path();
    if (path->back() == '/') {
        candidate /= "index.html";
    }
    if (escapesRoot(candidate.lexically_normal(), root)) {
        return {PathVerdict::Outside, {}};
    }
    std::error_code error;
    const fs::path real = fs::weakly_canonical(candidate, error);
    if (error) {
        return {PathVerdict::Missing, {}};
    }
    if (escapesRoot(real, root)) {
        return {PathVerdict::Outside, {}};
    }
    if (!fs::is_regular_file(real, error)) {
        return {PathVerdict::Missing, {}};
    }
    return {PathVerdict::Found, real};
}

std::string_view contentTypeOf(const fs::path& file) {
    std::string extension = file.extension().string();
    if (!extension.empty()) {
        extension.erase(0, 1);
    }
    for (char& c : extension) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    for (const MimeType& mime : kMimeTypes) {
        if (mime.extension == extension) {
            return mime.type;
        }
    }
    return "application/octet-stream";
}

} // namespace qm::cli
