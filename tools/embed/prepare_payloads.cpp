// Build step: reads the payload manifest, checks that every source file is
// there (naming each missing one), and writes each payload's final bytes to
// OUT_DIR/payload_N.bin. Files whose bytes did not change are left untouched
// so the build recompiles only when a payload really changed.
//
// Manifest lines: number TAB mode TAB path [TAB extra]
//   raw   the file as it is
//   crlf  text with every line end made CR LF
//   page  the page template with src="about.png" replaced by the PNG named
//         in extra as a data URI; the four placeholders must each stay once

#include <array>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Entry {
    std::string number;
    std::string mode;
    fs::path path;
    fs::path extra;
};

std::optional<std::string> readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    return std::string{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<Entry> readManifest(const fs::path& manifest) {
    std::vector<Entry> entries;
    std::ifstream in(manifest);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        Entry entry;
        std::string path;
        std::string extra;
        std::getline(fields, entry.number, '\t');
        std::getline(fields, entry.mode, '\t');
        std::getline(fields, path, '\t');
        std::getline(fields, extra, '\t');
        entry.path = path;
        entry.extra = extra;
        if (!entry.number.empty()) {
            entries.push_back(std::move(entry));
        }
    }
    return entries;
}

std::string base64(std::string_view bytes) {
    constexpr std::string_view alphabet =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        const std::size_t n = std::min<std::size_t>(3, bytes.size() - i);
        unsigned value = 0;
        for (std::size_t k = 0; k < 3; ++k) {
            value = (value << 8) | (k < n ? static_cast<unsigned char>(bytes[i + k]) : 0U);
        }
        for (std::size_t k = 0; k < 4; ++k) {
            out += k <= n ? alphabet[(value >> (18 - 6 * k)) & 0x3F] : '=';
        }
    }
    return out;
}

std::size_t countOf(std::string_view text, std::string_view what) {
    std::size_t count = 0;
    for (std::size_t at = text.find(what); at != std::string_view::npos;
         at = text.find(what, at + what.size())) {
        ++count;
    }
    return count;
}

std::string withCrLf(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 20);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            continue; // the LF that follows writes the pair
        }
        if (text[i] == '\n' || text[i] == '\r') {
            out += "\r\n";
        } else {
            out += text[i];
        }
    }
    return out;
}

std::optional<std::string> pageWithAboutImage(const Entry& entry, std::string page,
                                              std::string_view png) {
    constexpr std::string_view marker = "src=\"about.png\"";
    if (countOf(page, marker) != 1) {
        std::cerr << "payload " << entry.number << ": " << entry.path.string()
                  << " must hold src=\"about.png\" exactly once\n";
        return std::nullopt;
    }
    page.replace(page.find(marker), marker.size(),
                 "src=\"data:image/png;base64," + base64(png) + "\"");
    constexpr std::array<std::string_view, 4> placeholders = {
        "XXXXXXXXXXXXXXXXXXXXXXXXXXXXXX", "SSSSSSSSSSSSSSSSSSSSSSSSSSSSSS", "bgcolor=#000000",
        "\"display:none\""};
    for (const std::string_view placeholder : placeholders) {
        if (countOf(page, placeholder) != 1) {
            std::cerr << "payload " << entry.number << ": " << entry.path.string() << " must hold "
                      << placeholder << " exactly once\n";
            return std::nullopt;
        }
    }
    return page;
}

std::optional<std::string> finalBytes(const Entry& entry) {
    std::optional<std::string> bytes = readFile(entry.path);
    if (!bytes) {
        return std::nullopt;
    }
    if (entry.mode == "crlf") {
        return withCrLf(*bytes);
    }
    if (entry.mode == "page") {
        const std::optional<std::string> png = readFile(entry.extra);
        return png ? pageWithAboutImage(entry, std::move(*bytes), *png) : std::nullopt;
    }
    return bytes;
}

bool writeIfChanged(const fs::path& path, const std::string& bytes) {
    if (readFile(path) == bytes) {
        return true;
    }
    const fs::path temp = fs::path(path) += ".tmp";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!out.flush()) {
            std::cerr << "cannot write " << temp.string() << '\n';
            return false;
        }
    }
    std::error_code code;
    fs::rename(temp, path, code);
    if (code) {
        std::cerr << "cannot write " << path.string() << ": " << code.message() << '\n';
        return false;
    }
    return true;
}

int listMissing(const std::vector<Entry>& entries) {
    int missing = 0;
    for (const Entry& entry : entries) {
        for (const fs::path& source : {entry.path, entry.extra}) {
            if (!source.empty() && !fs::is_regular_file(source)) {
                std::cerr << "missing payload file for " << entry.number << ": " << source.string()
                          << '\n';
                ++missing;
            }
        }
    }
    return missing;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: prepare_payloads MANIFEST OUT_DIR\n";
        return 2;
    }
    const std::vector<Entry> entries = readManifest(argv[1]);
    const fs::path outDir = argv[2];
    if (entries.empty()) {
        std::cerr << "empty payload manifest " << argv[1] << '\n';
        return 1;
    }
    if (const int missing = listMissing(entries); missing > 0) {
        std::cerr << missing << " payload file(s) missing: the build cannot embed them\n";
        return 1;
    }
    fs::create_directories(outDir);
    for (const Entry& entry : entries) {
        const std::optional<std::string> bytes = finalBytes(entry);
        if (!bytes) {
            std::cerr << "cannot prepare payload " << entry.number << " from "
                      << entry.path.string() << '\n';
            return 1;
        }
        if (!writeIfChanged(outDir / ("payload_" + entry.number + ".bin"), *bytes)) {
            return 1;
        }
    }
    return 0;
}
