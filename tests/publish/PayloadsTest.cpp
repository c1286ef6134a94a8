#include "publish/Payloads.h"

#include "PublishTestSupport.h"
#include "publish/PackageLayout.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

namespace qm {
namespace {

namespace fs = std::filesystem;

const fs::path kSource = QM_SOURCE_DIR;
const fs::path kBinary = QM_BINARY_DIR;

std::string text(std::span<const std::byte> bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

// Files embedded as they are, by payload number.
std::map<int, fs::path> rawSources() {
    std::map<int, fs::path> sources = {
        {102, kSource / "resources/web/raf.js"},
        {103, kBinary / "web/js/Stats.js"},
        {104, kBinary / "web/js/build/Three.js"},
        {106, kBinary / "web/js/ctr/cn1.js"},
        {107, kBinary / "web/js/ctr/cn2.js"},
        {108, kBinary / "web/js/ctr/cn3.js"},
        {151, kSource / "resources/images/title_start_html5.jpg"},
    };
    for (const PayloadFile& file : kImageFiles) {
        sources[file.number] = kSource / "resources" / fs::path(file.path);
    }
    for (int code = 200; code <= 234; ++code) {
        sources[code] = kSource / "resources/hotspots" / ("hs" + std::to_string(code) + ".gif");
    }
    return sources;
}

TEST(Payloads, EveryInventoryNumberIsEmbedded) {
    std::vector<int> expected = {101, 102, 103, 104};
    for (int n = 106; n <= 137; ++n) {
        expected.push_back(n);
    }
    expected.push_back(151);
    expected.push_back(153);
    for (int n = 200; n <= 234; ++n) {
        expected.push_back(n);
    }
    EXPECT_EQ(payloadNumbers(), expected);
    for (const int n : expected) {
        EXPECT_FALSE(payload(n).empty()) << n;
    }
    for (const int unknown : {0, 105, 138, 150, 152, 199, 235, 1000}) {
        EXPECT_TRUE(payload(unknown).empty()) << unknown;
        EXPECT_FALSE(hasPayload(unknown)) << unknown;
    }
}

TEST(Payloads, RawPayloadsAreTheirFilesByteForByte) {
    for (const auto& [number, path] : rawSources()) {
        ASSERT_TRUE(fs::is_regular_file(path)) << path;
        // A bool keeps a mismatch from printing whole pictures.
        const bool same = text(payload(number)) == test::readFile(path);
        EXPECT_TRUE(same) << "payload " << number << " differs from " << path;
    }
}

TEST(Payloads, IconCode234HasItsOwnPicture) {
    EXPECT_FALSE(payload(234).empty());
    EXPECT_NE(text(payload(234)), text(payload(200)));
    EXPECT_EQ(iconPayloadNumber(234), 234);
    EXPECT_EQ(iconPayloadNumber(0), 200);
    EXPECT_EQ(iconPayloadNumber(235), 200);
    EXPECT_EQ(iconPayloadNumber(-5), 200);
}

TEST(Payloads, StyleSheetHasCrLfLineEnds) {
    const std::string css = text(payload(137));
    std::string normalised = test::readFile(kSource / "resources/web/st.css");
    std::string lf;
    for (std::size_t i = 0; i < normalised.size(); ++i) {
        if (normalised[i] != '\r') {
            lf += normalised[i];
        }
    }
    std::string crlf;
    for (const char c : lf) {
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    }
    EXPECT_EQ(css, crlf);
    for (std::size_t i = 0; i < css.size(); ++i) {
        if (css[i] == '\n') {
            ASSERT_TRUE(i > 0 && css[i - 1] == '\r') << "bare LF at " << i;
        }
    }
}

std::string decodeBase64(std::string_view text) {
    constexpr std::string_view alphabet =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    unsigned buffer = 0;
    int bits = 0;
    for (const char c : text) {
        const std::size_t value = alphabet.find(c);
        if (value == std::string_view::npos) {
            break; // '=' padding ends the data
        }
        buffer = (buffer << 6) | static_cast<unsigned>(value);
        bits += 6;
        if (bits >= 8) {
            bits -= 8;
            out += static_cast<char>((buffer >> bits) & 0xFF);
        }
    }
    return out;
}

TEST(Payloads, PageTemplateCarriesTheAboutPictureInline) {
    const std::string page = text(payload(kPageTemplatePayload));
    const std::string committed = test::readFile(kSource / "resources/web/tv360_player.html");
    constexpr std::string_view marker = "src=\"data:image/png;base64,";
    const std::size_t start = page.find(marker);
    ASSERT_NE(start, std::string::npos);
    const std::size_t end = page.find('"', start + marker.size());
    const std::string data = page.substr(start + marker.size(), end - start - marker.size());
    EXPECT_EQ(decodeBase64(data), test::readFile(kSource / "resources/web/about.png"));
    // Everything else is the committed template.
    std::string restored = page;
    restored.replace(start, end + 1 - start, "src=\"about.png\"");
    EXPECT_EQ(restored, committed);
}

} // namespace
} // namespace qm
