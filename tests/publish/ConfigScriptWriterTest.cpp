#include "publish/ConfigScriptWriter.h"

#include "PublishTestSupport.h"

#include <gtest/gtest.h>

#include <vector>

namespace qm {
namespace {

using test::emptySlotLines;
using test::published;

std::vector<std::string> lines(const std::string& script) {
    std::vector<std::string> out;
    std::size_t start = 0;
    while (start < script.size()) {
        const std::size_t end = script.find("\r\n", start);
        out.push_back(script.substr(start, end - start));
        start = end + 2;
    }
    return out;
}

std::string scriptFor(const PlayerOptions& options, const HotSpotTable& table = {}) {
    return ConfigScriptWriter::scriptText(published(options), table);
}

TEST(ConfigScriptWriter, DefaultsGiveTheDocumentedScriptByteForByte) {
    std::string expected(test::kDefaultScriptHead);
    expected += "   var OS_HOTSPOTS = 0;\r\n";
    for (int k = 0; k < 10; ++k) {
        expected += emptySlotLines(k);
    }
    EXPECT_EQ(scriptFor(PlayerOptions{}), expected);
}

TEST(ConfigScriptWriter, SlotTwoExampleWithEmptyTitleShowsTheLink) {
    HotSpotTable table;
    table.put(2, HotSpotItem{"http://example.org/room", "", 90, 12.5, 5.0, 1});
    std::string expected(test::kDefaultScriptHead);
    expected += "   var OS_HOTSPOTS = 1;\r\n";
    expected += emptySlotLines(0);
    expected += "HotSpotItem_pos[1]   = 12.5;\r\n"
                "HotSpotItem_time[1]  = 5;\r\n"
                "HotSpotItem_yaw[1]   = -90;\r\n"
                "HotSpotItem_title[1] = \"http://example.org/room\";\r\n"
                "HotSpotItem_link[1]  = \"http://example.org/room\";\r\n"
                "HotSpotItem_self[1]  = true;\r\n";
    for (int k = 2; k < 10; ++k) {
        expected += emptySlotLines(k);
    }
    EXPECT_EQ(scriptFor(PlayerOptions{}, table), expected);
}

TEST(ConfigScriptWriter, SlotsThreeSevenAndTenWithYawEdges) {
    HotSpotTable table;
    table.put(3, HotSpotItem{"  a.html  ", "   ", 0, 0.75, 2.5, 0});
    table.put(7, HotSpotItem{"b.html", "Seven", -179, 30.0, 1.0, 0});
    table.put(9, HotSpotItem{"ignored.html", "pos zero", 45, 0.0, 9.0, 1});
    table.put(10, HotSpotItem{"c.html", "Ten", 90, 99.5, 4.0, 1});
    const std::vector<std::string> got = lines(scriptFor(PlayerOptions{}, table));
    ASSERT_EQ(got.size(), 30u + 60u);
    EXPECT_EQ(got[29], "   var OS_HOTSPOTS = 3;");
    const std::vector<std::string> slot3(got.begin() + 30 + 12, got.begin() + 30 + 18);
    EXPECT_EQ(slot3, (std::vector<std::string>{
                         "HotSpotItem_pos[2]   = .75;", "HotSpotItem_time[2]  = 2.5;",
                         "HotSpotItem_yaw[2]   = -180;", "HotSpotItem_title[2] = \"a.html\";",
                         "HotSpotItem_link[2]  = \"a.html\";", "HotSpotItem_self[2]  = false;"}));
    EXPECT_EQ(got[30 + 36 + 2], "HotSpotItem_yaw[6]   = 1;");
    EXPECT_EQ(got[30 + 36 + 3], "HotSpotItem_title[6] = \"Seven\";");
    // Slot 9 has values but pos 0: written as empty.
    const std::vector<std::string> slot9(got.begin() + 30 + 48, got.begin() + 30 + 54);
    EXPECT_EQ(slot9, lines(emptySlotLines(8)));
    EXPECT_EQ(got[30 + 54], "HotSpotItem_pos[9]   = 99.5;");
    EXPECT_EQ(got[30 + 59], "HotSpotItem_self[9]  = true;");
}

TEST(ConfigScriptWriter, YawOfHalfTurnIsTheSingleDigitZero) {
    EXPECT_EQ(ConfigScriptWriter::publishedYaw(180), 0);
    EXPECT_EQ(ConfigScriptWriter::publishedYaw(0), -180);
    EXPECT_EQ(ConfigScriptWriter::publishedYaw(90), -90);
    EXPECT_EQ(ConfigScriptWriter::publishedYaw(-90), 90);
    EXPECT_EQ(ConfigScriptWriter::publishedYaw(-179), 1);
    HotSpotTable table;
    table.put(1, HotSpotItem{"l", "t", 180, 1.0, 1.0, 0});
    EXPECT_EQ(lines(scriptFor(PlayerOptions{}, table))[32], "HotSpotItem_yaw[0]   = 0;");
}

TEST(ConfigScriptWriter, OptionLinesFollowTheirItems) {
    PlayerOptions options;
    options.setItem(Choice::MouseSpeed, 5); // " 0.035"
    options.setItem(Choice::Audio, 1);      // "0%"
    options.setItem(Choice::Tilt, 13);      // " manual"
    options.transient.manualTilt = "25";
    options.blackAreaColor = 0xFF0000; // pure blue
    options.setItem(Choice::WinPosX, 4);
    options.setItem(Choice::WinPosY, 3);
    options.setItem(Choice::Pitch, 8); // "-30  град."
    options.setItem(Choice::Yaw, 4);   // " 60 град."
    options.setItem(Choice::Qual, 7);
    options.setItem(Choice::MaxFps, 8);
    options.setItem(Choice::Window, 12);
    options.transient.lockFullScreen = true;
    options.stat = true;
    options.viewMode = 1;
    options.controls = false;
    options.fullScreen = true;
    const std::vector<std::string> got = lines(scriptFor(options));
    EXPECT_EQ(got[1], "   var OS_FPS = 60;");
    EXPECT_EQ(got[2], "   var nSegmentsWidth = 282; ");
    EXPECT_EQ(got[4], "   var vertmax = 90;");
    EXPECT_EQ(got[5], "   var lon = 60;");
    EXPECT_EQ(got[6], "   var lat = -30;");
    EXPECT_EQ(got[7], "   var RENDER_X = 1024;");
    EXPECT_EQ(got[8], "   var RENDER_Y = 768;");
    EXPECT_EQ(got[9], "   var OS_VOLUME  = 0.00;");
    EXPECT_EQ(got[10], "   var OS_STAT  = 1;");
    EXPECT_EQ(got[11], "   var OS_MODE  = 1; ");
    EXPECT_EQ(got[12], "   var OS_COLOR = '#0000FF';");
    EXPECT_EQ(got[13], "   var mousespeed = 0.035; ");
    EXPECT_EQ(got[14], "   var control_bar = 0; ");
    EXPECT_EQ(got[16], "   var OS_WIN_POS_W = \"center\";");
    EXPECT_EQ(got[17], "   var OS_WIN_POS_H = \"bottom\";");
    EXPECT_EQ(got[18], "   var OS_FULL_SCREEN = 1; ");
    EXPECT_EQ(got[19], "   var OS_SP2 = 1;");
    EXPECT_EQ(got[20], "   var OS_BLOCK_FULL_SCREEN = 1;");

    options.setItem(Choice::Audio, 11);
    options.setItem(Choice::Tilt, 1); // " auto" takes the box
    options.transient.manualTilt = "45";
    const std::vector<std::string> again = lines(scriptFor(options));
    EXPECT_EQ(again[9], "   var OS_VOLUME  = 1.00;");
    EXPECT_EQ(again[4], "   var vertmax = 45;");
}

TEST(ConfigScriptWriter, ManualSizeReachesTheScriptOrFallsBack) {
    PlayerOptions options;
    options.transient.manualSize = true;
    options.transient.manualWidth = "700";
    options.transient.manualHeight = "350";
    std::vector<std::string> got = lines(scriptFor(options));
    EXPECT_EQ(got[7], "   var RENDER_X = 700;");
    EXPECT_EQ(got[8], "   var RENDER_Y = 350;");
    for (const auto& [w, h] : {std::pair{"319", "100"}, std::pair{"320", "99"}}) {
        options.transient.manualWidth = w;
        options.transient.manualHeight = h;
        got = lines(scriptFor(options));
        EXPECT_EQ(got[7], "   var RENDER_X = 550;") << w << "x" << h;
        EXPECT_EQ(got[8], "   var RENDER_Y = 400;") << w << "x" << h;
    }
}

TEST(ConfigScriptWriter, TitlesAndLinksCannotLeaveTheirStrings) {
    HotSpotTable table;
    table.put(1, HotSpotItem{"http://x/?q=\"1\"\\", "a\"b\\c</script>\u2028d", 10, 1.0, 1.0, 0});
    const std::vector<std::string> got = lines(scriptFor(PlayerOptions{}, table));
    EXPECT_EQ(got[33], "HotSpotItem_title[0] = \"a\\\"b\\\\c<\\/script>\\u2028d\";");
    EXPECT_EQ(got[34], "HotSpotItem_link[0]  = \"http://x/?q=\\\"1\\\"\\\\\";");
}

} // namespace
} // namespace qm
