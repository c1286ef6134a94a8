#include "publish/Payloads.h"

#include "PayloadSources.h"
#include "PublishTestSupport.h"
#include "model/HotSpotTable.h"
#include "publish/PackageLayout.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace qm {
namespace {

namespace fs = std::filesystem;

const fs::path kSource = QM_SOURCE_DIR;

std::string text(std::span<const std::byte> bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
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
    int raw = 0;
    for (const test::PayloadSource& source : test::kPayloadSources) {
        if (source.how != "raw") {
            continue;
        }
        ++raw;
        ASSERT_TRUE(fs::is_regular_file(source.path)) << source.path;
        // A bool keeps a mismatch from printing whole pictures.
        const bool same = text(payload(source.number)) == test::readFile(source.path);
        EXPECT_TRUE(same) << "payload " << source.number << " differs from " << source.path;
    }
    EXPECT_EQ(raw, 71); // all but the page template and the style sheet
}

TEST(Payloads, EveryIconCodeHasItsOwnPicture) {
    for (int code = kFirstIconCode; code < kFirstIconCode + kIconCount; ++code) {
        EXPECT_EQ(iconPayloadNumber(code), code);
    }
    EXPECT_NE(text(payload(234)), text(payload(200)));
    for (const int outside : {0, 199, 235, -5, 101, 137}) {
        EXPECT_EQ(iconPayloadNumber(outside), 200) << outside;
    }
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
    const std::string page = text(payload(onlyPayload(PayloadRole::Page).number));
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
