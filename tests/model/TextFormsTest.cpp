#include "model/TextForms.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

namespace qm {
namespace {

TEST(NumberText, WholeNumbersHaveNoPoint) {
    EXPECT_EQ(numberText(130), "130");
    EXPECT_EQ(numberText(0), "0");
    EXPECT_EQ(numberText(-0.0), "0");
    EXPECT_EQ(numberText(-3), "-3");
    EXPECT_EQ(numberText(200), "200");
    EXPECT_EQ(numberText(1e20), "100000000000000000000");
}

TEST(NumberText, FractionsDropTrailingZerosAndLeadingZero) {
    EXPECT_EQ(numberText(0.5), ".5");
    EXPECT_EQ(numberText(-0.25), "-.25");
    EXPECT_EQ(numberText(12.5), "12.5");
    EXPECT_EQ(numberText(12.50), "12.5");
    EXPECT_EQ(numberText(3.125), "3.125");
    EXPECT_EQ(numberText(0.0000015), ".0000015");
}

TEST(NumberText, KeepsFifteenSignificantDigits) {
    EXPECT_EQ(numberText(0.1 + 0.2), ".3");
    EXPECT_EQ(numberText(1.0 / 3.0), ".333333333333333");
    EXPECT_EQ(numberText(123456789012345678.0), "123456789012346000");
    EXPECT_EQ(numberText(12.3456789012345678), "12.3456789012346");
}

TEST(NumberText, NonFiniteValuesWriteZero) {
    EXPECT_EQ(numberText(std::numeric_limits<double>::infinity()), "0");
    EXPECT_EQ(numberText(std::numeric_limits<double>::quiet_NaN()), "0");
}

TEST(MaskText, ThreeDecimalsWithoutLeadingZero) {
    EXPECT_EQ(maskText(45, "#####.000"), "45.000");
    EXPECT_EQ(maskText(-90, "#####.000"), "-90.000");
    EXPECT_EQ(maskText(5, "#####.000"), "5.000");
    EXPECT_EQ(maskText(2.5, "#####.000"), "2.500");
    EXPECT_EQ(maskText(0.25, "#####.000"), ".250");
    EXPECT_EQ(maskText(0, "#####.000"), ".000");
    EXPECT_EQ(maskText(-0.25, "#####.000"), "-.250");
    EXPECT_EQ(maskText(1234567, "#####.000"), "1234567.000");
    EXPECT_EQ(maskText(-0.0001, "#####.000"), ".000");
}

TEST(MaskText, FixedLeadingDigitMasks) {
    EXPECT_EQ(maskText(0.5, "0.00"), "0.50");
    EXPECT_EQ(maskText(1, "0.00"), "1.00");
    EXPECT_EQ(maskText(0, "0.00"), "0.00");
    EXPECT_EQ(maskText(0.02, "0.000"), "0.020");
    EXPECT_EQ(maskText(0.035, "0.000"), "0.035");
    EXPECT_EQ(maskText(static_cast<double>(0.035f), "0.000"), "0.035");
}

TEST(MaskText, EditorDisplayMasks) {
    EXPECT_EQ(maskText(0, "###"), "");
    EXPECT_EQ(maskText(-90, "###"), "-90");
    EXPECT_EQ(maskText(180, "###"), "180");
    EXPECT_EQ(maskText(0.5, "######.0"), ".5");
    EXPECT_EQ(maskText(12.34, "######.0"), "12.3");
    EXPECT_EQ(maskText(5, "###.0"), "5.0");
    EXPECT_EQ(maskText(std::numeric_limits<double>::infinity(), "###.0"), ".0");
}

TEST(NumberValue, SkipsLeadingBlanksTabsAndLineBreaks) {
    EXPECT_EQ(numberValue(" 4 "), 4);
    EXPECT_EQ(numberValue("\t\r\n 7.5"), 7.5);
    EXPECT_EQ(numberValue("  -30  град."), -30);
}

TEST(NumberValue, SignAndFraction) {
    EXPECT_EQ(numberValue("-.25"), -0.25);
    EXPECT_EQ(numberValue(".5"), 0.5);
    EXPECT_EQ(numberValue("+3"), 3);
    EXPECT_EQ(numberValue("12."), 12);
    EXPECT_EQ(numberValue("0.035"), 0.035);
    EXPECT_EQ(numberValue("007"), 7);
}

TEST(NumberValue, StopsAtTheFirstCharacterThatCannotContinue) {
    EXPECT_EQ(numberValue("1e999"), 1);
    EXPECT_EQ(numberValue("12.5.6"), 12.5);
    EXPECT_EQ(numberValue("5</WINDOW>"), 5);
    EXPECT_EQ(numberValue("1 2"), 1);
    EXPECT_EQ(numberValue("50%"), 50);
}

TEST(NumberValue, TextWithoutDigitsIsZero) {
    EXPECT_EQ(numberValue(""), 0);
    EXPECT_EQ(numberValue("abc"), 0);
    EXPECT_EQ(numberValue(" auto"), 0);
    EXPECT_EQ(numberValue("-"), 0);
    EXPECT_EQ(numberValue("."), 0);
    EXPECT_EQ(numberValue("-."), 0);
    EXPECT_EQ(numberValue("-&hFFFFFFFF"), 0);
}

TEST(NumberValue, HexadecimalAfterAmpersandH) {
    EXPECT_EQ(numberValue("&h00FF0000"), 16711680);
    EXPECT_EQ(numberValue("&H0000ff"), 255);
    EXPECT_EQ(numberValue("  &hFFFFFFFF"), 4294967295.0);
    EXPECT_EQ(numberValue("&h"), 0);
    EXPECT_EQ(numberValue("&hG1"), 0);
    EXPECT_EQ(numberValue("&h1G"), 1);
}

TEST(NumberValue, HugeDigitRunsStayFinite) {
    const std::string manyNines(5000, '9');
    EXPECT_EQ(numberValue(manyNines), std::numeric_limits<double>::max());
    EXPECT_EQ(numberValue("-" + manyNines), -std::numeric_limits<double>::max());
    EXPECT_EQ(numberValue("." + std::string(5000, '0') + "1"), 0);
    EXPECT_TRUE(std::isfinite(numberValue("&h" + std::string(5000, 'F'))));
}

TEST(RoundToInt, TiesGoToEven) {
    EXPECT_EQ(roundToInt(0.5), 0);
    EXPECT_EQ(roundToInt(1.5), 2);
    EXPECT_EQ(roundToInt(2.5), 2);
    EXPECT_EQ(roundToInt(-2.5), -2);
    EXPECT_EQ(roundToInt(-3.5), -4);
    EXPECT_EQ(roundToInt(2.5000001), 3);
    EXPECT_EQ(roundToInt(-0.4), 0);
    EXPECT_EQ(roundToInt(44.999), 45);
}

TEST(RoundToInt, ClampsToThe32BitRange) {
    EXPECT_EQ(roundToInt(1e300), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(roundToInt(-1e300), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(roundToInt(std::numeric_limits<double>::quiet_NaN()), 0);
    EXPECT_EQ(integerValue("-&hFFFFFFFF"), 0);
    EXPECT_EQ(integerValue("&hFFFFFFFF"), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(integerValue(" 4.5 "), 4);
}

TEST(ColourText, StoredFormReadsBlueGreenRed) {
    EXPECT_EQ(colourText(0), "000000");
    EXPECT_EQ(colourText(0xFFFFFF), "FFFFFF");
    EXPECT_EQ(colourText(0x0000FF), "0000FF"); // pure red
    EXPECT_EQ(colourText(0xFF0000), "FF0000"); // pure blue
    EXPECT_EQ(colourText(0xABCDEF), "ABCDEF");
}

TEST(ColourText, WebFormReadsRedGreenBlue) {
    EXPECT_EQ(hexColourText(0x0000FF), "FF0000");
    EXPECT_EQ(hexColourText(0xFF0000), "0000FF");
    EXPECT_EQ(hexColourText(0), "000000");
    EXPECT_EQ(hexColourText(0x123456), "563412");
}

TEST(Trim, BlanksOnlyOrBlanksAndNuls) {
    EXPECT_EQ(trimBlanks("  a b  "), "a b");
    EXPECT_EQ(trimBlanks("\ta\t"), "\ta\t");
    EXPECT_EQ(trimBlanks("   "), "");
    const std::string padded = std::string("\0 link \0\0", 9);
    EXPECT_EQ(trimBlanksAndNuls(padded), "link");
    EXPECT_EQ(trimBlanksAndNuls(std::string(512, '\0')), "");
}

} // namespace
} // namespace qm
