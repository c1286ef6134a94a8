#pragma once
// Which file of the served folder a request path names, and its type. Nothing
// outside the folder is ever named, by dot segments, encoded slashes or links.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace qm::cli {

enum class PathVerdict {
    Found,      // a regular file inside the folder
    Missing,    // 404
    Outside,    // 403: the path leads out of the folder
    BadRequest, // 400: not a path, a broken %-escape or an encoded NUL
};

struct ServedFile {
    PathVerdict verdict = PathVerdict::Missing;
    std::filesystem::path file; // canonical, when Found
};

// The path with its %-escapes decoded; nullopt for a broken escape or a NUL.
std::optional<std::string> decodedRequestPath(std::string_view raw);

// Maps a request path as sent (without its query) onto a file below root,
// which must be canonical. A path ending in "/" names its index.html.
ServedFile resolveRequestPath(const std::filesystem::path& root, std::string_view raw);

// The Content-Type of a package file, by its extension in any case.
std::string_view contentTypeOf(const std::filesystem::path& file);

} // namespace qm::cli
