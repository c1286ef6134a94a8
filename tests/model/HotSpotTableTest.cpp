#include "model/HotSpotTable.h"
#include "model/Cp1251.h"

#include <gtest/gtest.h>

namespace qm {
namespace {

std::optional<StoreRefusal> storeSimple(HotSpotTable& table, int slot, std::string_view link,
                                        double position, std::string_view time) {
    return table.store(slot, link, "title", 45, position, time, false);
}

TEST(HotSpotStore, RefusalsInOrderWithTheirMessages) {
    HotSpotTable table;
    EXPECT_EQ(storeSimple(table, 1, "   ", 0, ""), StoreRefusal::EmptyLink);
    EXPECT_EQ(storeSimple(table, 1, "", 10, "5"), StoreRefusal::EmptyLink);
    EXPECT_EQ(storeSimple(table, 1, "x", 0, ""), StoreRefusal::ZeroPosition);
    EXPECT_EQ(storeSimple(table, 1, "x", -1, "5"), StoreRefusal::ZeroPosition);
    // 0.0004 would be stored as .000, a hot spot never shown.
    for (const char* time : {"0", "0.0", "", "abc", "-3", "0.0004"}) {
        EXPECT_EQ(storeSimple(table, 1, "x", 2.5, time), StoreRefusal::NoTime) << time;
    }
    EXPECT_EQ(table.countInUse(), 0);
    EXPECT_EQ(table.record(1), HotSpotItem{});

    EXPECT_EQ(refusalMessage(StoreRefusal::EmptyLink).text, "The link of Hot Spot is empty");
    EXPECT_EQ(refusalMessage(StoreRefusal::ZeroPosition).text,
              "Current Hot Spot position in movie stream cannot be - \"0\"");
    EXPECT_EQ(refusalMessage(StoreRefusal::NoTime).text,
              "The time for shown a Hot Spot is not determined");
    for (const StoreRefusal r :
         {StoreRefusal::EmptyLink, StoreRefusal::ZeroPosition, StoreRefusal::NoTime}) {
        EXPECT_EQ(refusalMessage(r).caption, "Warning");
    }
}

TEST(HotSpotStore, WritesAllSixFieldsAsTyped) {
    HotSpotTable table;
    EXPECT_EQ(table.store(3, "  http://a.b/c ", "", -90, 12.25, "7", true), std::nullopt);
    const HotSpotItem& item = table.record(3);
    EXPECT_EQ(item.link, "  http://a.b/c ");
    EXPECT_EQ(item.strippedLink(), "http://a.b/c");
    EXPECT_EQ(item.title, "");
    EXPECT_EQ(item.yaw, -90);
    EXPECT_EQ(item.pos, 12.25);
    EXPECT_EQ(item.time, 7.0);
    EXPECT_EQ(item.self, 1);
    EXPECT_TRUE(table.inUse(3));
}

TEST(HotSpotStore, ReplacingAndRefusingKeepTheRightContent) {
    HotSpotTable table;
    ASSERT_EQ(table.store(2, "a", "A", 10, 1, "5", false), std::nullopt);
    ASSERT_EQ(table.store(2, "b", "B", 20, 2, "6", false), std::nullopt);
    EXPECT_EQ(table.record(2).link, "b");
    EXPECT_EQ(storeSimple(table, 2, "c", 0, "5"), StoreRefusal::ZeroPosition);
    EXPECT_EQ(table.record(2).link, "b");
}

TEST(HotSpotStore, FieldsAreCutInCodePageBytes) {
    HotSpotTable table;
    const std::string longLink(600, 'l');
    std::string longTitle;
    for (int i = 0; i < 50; ++i) {
        longTitle += "ы"; // one byte in Windows-1251, two in UTF-8
    }
    ASSERT_EQ(table.store(1, longLink, longTitle, 0, 1, "5", false), std::nullopt);
    EXPECT_EQ(table.record(1).link, std::string(512, 'l'));
    EXPECT_EQ(utf8ToCp1251(table.record(1).title).bytes.size(), 40u);
    EXPECT_EQ(table.record(1).title, longTitle.substr(0, 80));
}

TEST(HotSpotTableOps, DeleteAndCount) {
    HotSpotTable table;
    ASSERT_EQ(table.store(2, "a", "", 0, 1, "5", false), std::nullopt);
    ASSERT_EQ(table.store(10, "b", "", 0, 2, "5", false), std::nullopt);
    ASSERT_EQ(table.store(3, "c", "", 0, 3, "5", false), std::nullopt);
    EXPECT_EQ(table.countInUse(), 3);
    table.remove(3);
    EXPECT_FALSE(table.inUse(3));
    EXPECT_EQ(table.record(3), HotSpotItem{});
    EXPECT_EQ(table.countInUse(), 2);
    EXPECT_TRUE(table.inUse(2));
    EXPECT_TRUE(table.inUse(10));
    table.removeAll();
    EXPECT_EQ(table.countInUse(), 0);
    EXPECT_EQ(table, HotSpotTable{});
}

TEST(HotSpotTableOps, UsedOnlyWhenPositionIsPositive) {
    HotSpotTable table;
    table.put(4, HotSpotItem{"link", "t", 5, 0.0, 3.0, 1});
    EXPECT_FALSE(table.inUse(4));
    table.put(5, HotSpotItem{"", "", 0, 0.001, 0, 0});
    EXPECT_TRUE(table.inUse(5));
    EXPECT_EQ(table.countInUse(), 1);
}

TEST(HotSpotTableOps, OutOfRangeSlotsAreNeverWritten) {
    HotSpotTable table;
    table.put(0, HotSpotItem{"x", "", 0, 1, 1, 0});
    table.put(11, HotSpotItem{"x", "", 0, 1, 1, 0});
    for (const int slot : {-1, 0, 11}) {
        EXPECT_EQ(table.store(slot, "x", "", 0, 1, "5", false), StoreRefusal::NoSuchSlot);
    }
    EXPECT_EQ(table, HotSpotTable{});
    EXPECT_EQ(table.record(0), HotSpotItem{});
    EXPECT_EQ(table.record(42), HotSpotItem{});
    EXPECT_FALSE(table.inUse(0));
}

TEST(VideoPathsOps, SetClearAndExtras) {
    VideoPaths videos;
    videos.set(1, "/a.mp4");
    videos.set(2, "/a.webm");
    videos.set(3, "/a.ogv");
    videos.set(4, "/ignored");
    EXPECT_EQ(videos.path(4), "");
    videos.clearExtras();
    EXPECT_EQ(videos.path(1), "/a.mp4");
    EXPECT_EQ(videos.path(2), "");
    EXPECT_EQ(videos.path(3), "");
    videos.clearAll();
    EXPECT_EQ(videos, VideoPaths{});
}

} // namespace
} // namespace qm
