#include "model/Cp1251.h"

#include <gtest/gtest.h>

#include <iconv.h>

#include <array>
#include <string>

namespace qm {
namespace {

// glibc's own converter is the independent reference for the table.
std::string iconvToUtf8(unsigned char byte) {
    iconv_t cd = iconv_open("UTF-8", "CP1251");
    EXPECT_NE(cd, reinterpret_cast<iconv_t>(-1));
    std::array<char, 1> in{static_cast<char>(byte)};
    std::array<char, 8> out{};
    char* inPtr = in.data();
    char* outPtr = out.data();
    std::size_t inLeft = 1;
    std::size_t outLeft = out.size();
    const std::size_t done = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    if (done == static_cast<std::size_t>(-1)) {
        return {};
    }
    return std::string(out.data(), out.size() - outLeft);
}

TEST(Cp1251, EveryAssignedByteMatchesTheSystemConverter) {
    for (int byte = 0x80; byte <= 0xFF; ++byte) {
        const std::string expected = iconvToUtf8(static_cast<unsigned char>(byte));
        if (expected.empty()) {
            continue; // 0x98 has no character
        }
        const std::string single(1, static_cast<char>(byte));
        EXPECT_EQ(cp1251ToUtf8(single), expected) << "byte " << byte;
    }
}

TEST(Cp1251, EveryByteRoundTrips) {
    std::string all;
    for (int byte = 0; byte <= 0xFF; ++byte) {
        all += static_cast<char>(byte);
    }
    const Cp1251Result back = utf8ToCp1251(cp1251ToUtf8(all));
    EXPECT_TRUE(back.lossless);
    EXPECT_EQ(back.bytes, all);
}

TEST(Cp1251, CyrillicAndPunctuation) {
    EXPECT_EQ(utf8ToCp1251("Привет").bytes, "\xCF\xF0\xE8\xE2\xE5\xF2");
    EXPECT_EQ(utf8ToCp1251("Ёё№€").bytes, "\xA8\xB8\xB9\x88");
    EXPECT_EQ(cp1251ToUtf8("\xC0\xFF"), "Ая");
    EXPECT_EQ(cp1251ToUtf8("plain"), "plain");
}

TEST(Cp1251, CharactersOutsideTheCodePageAreReported) {
    const Cp1251Result result = utf8ToCp1251("a日b😀c");
    EXPECT_FALSE(result.lossless);
    EXPECT_EQ(result.bytes, "a?b?c");
    EXPECT_FALSE(fitsCp1251("ü"));
    EXPECT_TRUE(fitsCp1251("Заголовок «x»"));
}

TEST(Cp1251, IllFormedUtf8IsReportedNotDropped) {
    const Cp1251Result result = utf8ToCp1251("a\xC3");
    EXPECT_FALSE(result.lossless);
    EXPECT_EQ(result.bytes, "a?");
    EXPECT_EQ(utf8ToCp1251("\xE0\x80\x80").bytes, "???"); // overlong form
    EXPECT_EQ(utf8ToCp1251("\xED\xA0\x80").bytes, "???"); // surrogate
}

TEST(Cp1251, CutCountsCodePageBytesAndNeverSplitsACharacter) {
    EXPECT_EQ(cutToCp1251Bytes("Привет, мир", 6), "Привет");
    EXPECT_EQ(cutToCp1251Bytes("Привет", 40), "Привет");
    EXPECT_EQ(cutToCp1251Bytes("abc", 0), "");
    std::string fortyFive;
    for (int i = 0; i < 45; ++i) {
        fortyFive += "ж";
    }
    const std::string cut = cutToCp1251Bytes(fortyFive, 40);
    EXPECT_EQ(cut.size(), 80u); // 40 two-byte UTF-8 characters
    EXPECT_EQ(utf8ToCp1251(cut).bytes.size(), 40u);
}

} // namespace
} // namespace qm
