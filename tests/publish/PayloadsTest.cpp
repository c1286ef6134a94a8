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
        const bool same = text(payload(source.number)) == test::readBytes(source.path);
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
    EXPECT_EQ(css, test::withCrLf(test::readBytes(kSource / "resources/web/st.css")));
    for (std::size_t i = 0; i < css.size(); ++i) {
        if (css[i] == '\n') {
            ASSERT_TRUE(i > 0 && css[i - 1] == '\r') << "bare LF at " << i;
        }
    }
}

TEST(Payloads, PageTemplateCarriesTheAboutPictureInline) {
    const std::string page = text(payload(onlyPayload(PayloadRole::Page).number));
    // Everything but the picture is the committed template.
    EXPECT_EQ(
        test::withAboutPictureLinked(page, test::readBytes(kSource / "resources/web/about.png")),
        test::readBytes(kSource / "resources/web/tv360_player.html"));
}

} // namespace
} // namespace qm
