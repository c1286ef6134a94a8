#include "persist/OptionsBlock.h"
#include "persist/OptionTags.h"

#include "DefaultOptionsBlock.h"

#include <gtest/gtest.h>

namespace qm {
namespace {

using test::crlfLines;

const std::string kDefaultOptionsFile = test::defaultOptionsBlock();

PlayerOptions defaultsAfterChoosingAVideo() {
    PlayerOptions options = PlayerOptions::fresh("/start");
    options.loadDir = "/videos";
    return options;
}

std::string blockOf(const PlayerOptions& options) {
    EncodedText text;
    writeOptionsBlock(text, options);
    return text.bytes;
}

PlayerOptions applied(std::string_view fileBytes, std::string_view currentDir = "/cwd") {
    PlayerOptions options = PlayerOptions::fresh("/fresh");
    applyOptionsBlock(prepareContent(fileBytes), options, currentDir);
    return options;
}

TEST(WriteOptionsBlock, DefaultFileByteForByte) {
    const std::string bytes = blockOf(defaultsAfterChoosingAVideo());
    EXPECT_EQ(bytes, kDefaultOptionsFile);
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\n'), 37);
    EXPECT_NE(bytes.substr(0, 3), "\xEF\xBB\xBF");
}

TEST(WriteOptionsBlock, ValuesAndTheirForms) {
    PlayerOptions o = defaultsAfterChoosingAVideo();
    o.setItem(Choice::Window, 12);
    o.setItem(Choice::Audio, 0);
    o.controls = false;
    o.fullScreen = true;
    o.stat = true;
    o.viewMode = 1;
    o.htmlBgColor = 0x0000FF;
    o.blackAreaColor = 0xABCDEF;
    o.htmlTitle = "  Мой тур  ";
    o.hsIcons[0] = 234;
    o.hsIcons[9] = 200;
    o.tooltipHelp = 2;
    o.zoomMax = 200;
    o.loadDir = "  /with blanks  ";
    const std::string bytes = blockOf(o);
    const auto has = [&](std::string_view line) {
        return bytes.find(std::string(line) + "\r\n") != std::string::npos;
    };
    EXPECT_TRUE(has("<WINDOW>12</WINDOW>"));
    EXPECT_TRUE(has("<AUDIO>0</AUDIO>"));
    EXPECT_TRUE(has("<CONTROLS>0</CONTROLS>"));
    EXPECT_TRUE(has("<FULLSCREEN>1</FULLSCREEN>"));
    EXPECT_TRUE(has("<STAT>1</STAT>"));
    EXPECT_TRUE(has("<VIEWMODE>1</VIEWMODE>  //   0 - classic, 1 - black areas"));
    EXPECT_TRUE(has("<HTMLBGCOLOR>0000FF</HTMLBGCOLOR>"));
    EXPECT_TRUE(has("<BLACKAREACOLOR>ABCDEF</BLACKAREACOLOR>"));
    EXPECT_TRUE(has("<HTMLTITLE>  \xCC\xEE\xE9 \xF2\xF3\xF0  </HTMLTITLE>")); // not trimmed
    EXPECT_TRUE(has("<HS_ICON0>234</HS_ICON0>"));
    EXPECT_TRUE(has("<HS_ICON9>200</HS_ICON9>"));
    EXPECT_TRUE(has("<TOOLTIPHELP>2</TOOLTIPHELP>"));
    EXPECT_TRUE(has("<ZOOMMAX>200</ZOOMMAX>"));
    EXPECT_TRUE(has("<LOADDIR>/with blanks</LOADDIR>"));
    EXPECT_TRUE(has("<BORDER>0</BORDER>"));
    EXPECT_TRUE(has("<BALANCE>1</BALANCE>"));
}

TEST(WriteOptionsBlock, TextOutsideTheCodePageMakesAMarkedUtf8Block) {
    PlayerOptions o = defaultsAfterChoosingAVideo();
    o.htmlTitle = "Мой тур 日本";
    o.saveDir = "/home/ü";
    EncodedText text;
    writeOptionsBlock(text, o);
    EXPECT_EQ(text.utf8Fields, (std::vector<std::string>{"HTMLTITLE", "SAVEDIR"}));
    EXPECT_TRUE(text.bytes.starts_with("Encoding: UTF-8\r\nGeneratad by Quillmark"));
    EXPECT_NE(text.bytes.find("<HTMLTITLE>Мой тур 日本</HTMLTITLE>\r\n"), std::string::npos);
}

TEST(TagTextIn, FindsWhatAReaderTakesForATagAndTheWriterNamesItsField) {
    EXPECT_EQ(tagTextIn("a</b"), "</");
    EXPECT_EQ(tagTextIn("x <b> <HSPOS1>9"), "<HSPOS1>");
    EXPECT_EQ(tagTextIn("1 < 2, <> and <A-B> are text"), std::nullopt);
    PlayerOptions o = defaultsAfterChoosingAVideo();
    o.loadDir = "/a</b"; // read back as "/a<b"
    EncodedText text;
    writeOptionsBlock(text, o);
    EXPECT_EQ(text.tagTextFields, std::vector<std::string>{"LOADDIR"});
}

TEST(TagValue, BetweenTheFirstTwoCopies) {
    const std::string prepared = prepareContent("x<A>1</A><A>2</A>");
    EXPECT_EQ(prepared, "x<A>1<A><A>2<A>");
    EXPECT_EQ(tagValue(prepared, "<A>"), "1");
    EXPECT_EQ(tagValue("<A>only one", "<A>"), "only one");
    EXPECT_EQ(tagValue("nothing", "<A>"), "");
    EXPECT_EQ(tagValue("<A><A>", "<A>"), "");
    EXPECT_EQ(tagValue("<a>1<a>", "<A>"), "");
    EXPECT_EQ(tagValue("<ZOOMMAX>200<ZOOMMAX>", "<ZOOM>"), "");
    EXPECT_EQ(tagValue("<HSYAW1>5<HSYAW1>", "<YAW>"), "");
    EXPECT_EQ(tagValue("abc", ""), "");
}

TEST(ApplyOptionsBlock, DefaultFileRoundTrips) {
    const PlayerOptions o = applied(kDefaultOptionsFile);
    EXPECT_EQ(o, defaultsAfterChoosingAVideo());
}

TEST(ApplyOptionsBlock, EveryValueRoundTrips) {
    PlayerOptions o = defaultsAfterChoosingAVideo();
    int n = 2;
    for (const Choice c : kAllChoices) {
        o.setItem(c, n++ % 4 + 1);
    }
    o.controls = false;
    o.fullScreen = true;
    o.stat = true;
    o.viewMode = 1;
    o.htmlBgColor = 0x0000FF;
    o.blackAreaColor = 0xFEDCBA;
    o.htmlTitle = "Панорама: «Кремль» №1";
    for (int i = 0; i < kSlotCount; ++i) {
        o.hsIcons[static_cast<std::size_t>(i)] = 200 + 3 * i;
    }
    o.tooltipHelp = 0;
    o.zoomMax = 250;
    o.loadDir = "/видео";
    o.saveDir = "C:\\Users\\Пётр";
    EXPECT_EQ(applied(blockOf(o)), o);
}

TEST(ApplyOptionsBlock, EmptyContentAppliesEveryMissingTagRule) {
    const PlayerOptions o = applied("", "/cwd");
    for (const Choice c : kAllChoices) {
        EXPECT_EQ(o.item(c), 0) << static_cast<int>(c);
    }
    EXPECT_FALSE(o.controls);
    EXPECT_FALSE(o.fullScreen);
    EXPECT_FALSE(o.stat);
    EXPECT_EQ(o.viewMode, 0);
    EXPECT_EQ(o.htmlBgColor, 0u);
    EXPECT_EQ(o.blackAreaColor, 0u);
    EXPECT_EQ(o.htmlTitle, "");
    EXPECT_EQ(o.hsIcons, HotSpotIcons{});
    EXPECT_EQ(o.tooltipHelp, 0);
    EXPECT_EQ(o.zoomMax, 130);
    EXPECT_EQ(o.loadDir, "/cwd");
    EXPECT_EQ(o.saveDir, "/cwd");
}

TEST(ApplyOptionsBlock, OnlyAWindowLine) {
    const PlayerOptions o = applied("<WINDOW>5</WINDOW>\r\n");
    EXPECT_EQ(o.itemText(Choice::Window), "05.640x480");
    EXPECT_EQ(o.item(Choice::Zoom), 0);
    EXPECT_FALSE(o.controls);
}

TEST(ApplyOptionsBlock, DuplicatedTagTakesTheFirstValue) {
    EXPECT_EQ(applied("<WINDOW>4</WINDOW>\r\n<WINDOW>7</WINDOW>\r\n").item(Choice::Window), 4);
}

TEST(ApplyOptionsBlock, AnyOrderForeignLinesAndLfOnly) {
    const PlayerOptions o = applied(
        "junk line\n<SAVEDIR>/s</SAVEDIR>\nmore junk <AUDIO>11</AUDIO>\n<WINDOW>2</WINDOW>");
    EXPECT_EQ(o.item(Choice::Audio), 11);
    EXPECT_EQ(o.item(Choice::Window), 2);
    EXPECT_EQ(o.saveDir, "/s");
}

TEST(ApplyOptionsBlock, NumbersWithBlanksAndOutOfRangeItems) {
    EXPECT_EQ(applied("<WINDOW> 4 </WINDOW>").item(Choice::Window), 4);
    EXPECT_EQ(applied("<WINDOW>\t4</WINDOW>").item(Choice::Window), 4);
    EXPECT_EQ(applied("<WINDOW>0</WINDOW>").item(Choice::Window), 0);
    EXPECT_EQ(applied("<WINDOW>-2</WINDOW>").item(Choice::Window), 0);
    EXPECT_EQ(applied("<WINDOW>13</WINDOW>").item(Choice::Window), 0);
    EXPECT_EQ(applied("<CONTROLBAR>3</CONTROLBAR>").item(Choice::ControlBar), 0);
    EXPECT_EQ(applied("<ZOOM>10</ZOOM>").itemText(Choice::Zoom), "130");
    EXPECT_EQ(applied("<ZOOM>11</ZOOM>").item(Choice::Zoom), 0);
    EXPECT_EQ(applied("<WINDOW>1e999</WINDOW>").item(Choice::Window), 1);
    EXPECT_EQ(applied("<WINDOW>2.5</WINDOW>").item(Choice::Window), 2); // ties to even
    EXPECT_EQ(applied("<WINDOW>&h0A</WINDOW>").item(Choice::Window), 10);
    EXPECT_EQ(applied("<WINDOW>-&hFFFFFFFF</WINDOW>").item(Choice::Window), 0);
}

TEST(ApplyOptionsBlock, SwitchesAndViewMode) {
    EXPECT_TRUE(applied("<CONTROLS>1</CONTROLS>").controls);
    EXPECT_FALSE(applied("<CONTROLS>0</CONTROLS>").controls);
    EXPECT_TRUE(applied("<STAT> 1</STAT>").stat);
    EXPECT_TRUE(applied("<FULLSCREEN>1</FULLSCREEN>").fullScreen);
    // Only 1 sets a switch; any other number clears it.
    EXPECT_FALSE(applied("<STAT>2</STAT>").stat);
    EXPECT_FALSE(applied("<FULLSCREEN>-1</FULLSCREEN>").fullScreen);
    EXPECT_EQ(applied("<VIEWMODE>0</VIEWMODE>  //   0 - classic, 1 - black areas").viewMode, 0);
    EXPECT_EQ(applied("<VIEWMODE>1</VIEWMODE>").viewMode, 1);
    EXPECT_EQ(applied("<VIEWMODE>7</VIEWMODE>").viewMode, 1);
    EXPECT_EQ(applied("<VIEWMODE>-1</VIEWMODE>").viewMode, 1);
}

TEST(ApplyOptionsBlock, ColoursAreAlwaysHexadecimal) {
    EXPECT_EQ(applied("<HTMLBGCOLOR>0000FF</HTMLBGCOLOR>").htmlBgColor, 0x0000FFu);
    EXPECT_EQ(applied("<HTMLBGCOLOR>100</HTMLBGCOLOR>").htmlBgColor, 0x100u);
    EXPECT_EQ(applied("<BLACKAREACOLOR>ffffff</BLACKAREACOLOR>").blackAreaColor, 0xFFFFFFu);
    EXPECT_EQ(applied("<BLACKAREACOLOR>zz</BLACKAREACOLOR>").blackAreaColor, 0u);
    EXPECT_EQ(applied("<HTMLBGCOLOR>12345678</HTMLBGCOLOR>").htmlBgColor, 0x345678u);
    EXPECT_EQ(applied("<HTMLBGCOLOR>" + std::string(3000, 'F') + "</HTMLBGCOLOR>").htmlBgColor &
                  0xFF000000u,
              0u);
}

TEST(ApplyOptionsBlock, TitleIsTrimmedAndSlashesAfterLessThanVanish) {
    EXPECT_EQ(applied("<HTMLTITLE>  a b  </HTMLTITLE>").htmlTitle, "a b");
    EXPECT_EQ(applied("<HTMLTITLE>x</y>z</HTMLTITLE>").htmlTitle, "x<y>z");
    EXPECT_EQ(applied("<HTMLTITLE>\xCF\xF0\xE8\xE2\xE5\xF2</HTMLTITLE>").htmlTitle, "Привет");
}

TEST(ApplyOptionsBlock, StoredValuesKeptAsTheyAre) {
    EXPECT_EQ(applied("<TOOLTIPHELP>2</TOOLTIPHELP>").tooltipHelp, 2);
    EXPECT_EQ(applied("<HS_ICON3>207</HS_ICON3>").hsIcons[3], 207);
    EXPECT_EQ(applied("<HS_ICON9>-5</HS_ICON9>").hsIcons[9], -5);
    EXPECT_EQ(applied("<ZOOMMAX>200</ZOOMMAX>").zoomMax, 200);
    EXPECT_EQ(applied("<ZOOMMAX>0</ZOOMMAX>").zoomMax, 130);
    EXPECT_EQ(applied("<ZOOMMAX>-40</ZOOMMAX>").zoomMax, 130);
    // The list was built from 130 and stays at ten items.
    EXPECT_EQ(choiceItems(Choice::Zoom).size(), 10u);
}

TEST(ApplyOptionsBlock, FoldersAreTrimmedOrTheCurrentDirectory) {
    const PlayerOptions o = applied("<LOADDIR>  /a b  </LOADDIR><SAVEDIR>   </SAVEDIR>", "/cwd");
    EXPECT_EQ(o.loadDir, "/a b");
    EXPECT_EQ(o.saveDir, "/cwd");
}

TEST(ApplyOptionsBlock, BorderBalanceAndTransientsAreLeftAlone) {
    PlayerOptions before = PlayerOptions::fresh("/x");
    before.transient.manualSize = true;
    before.transient.manualTilt = "45";
    PlayerOptions after = before;
    applyOptionsBlock(prepareContent(kDefaultOptionsFile + "<BORDER>9<BORDER><BALANCE>9<BALANCE>"),
                      after, "/cwd");
    EXPECT_EQ(after.transient, before.transient);
    EncodedText written;
    writeOptionsBlock(written, after);
    EXPECT_NE(written.bytes.find("<BORDER>0</BORDER>"), std::string::npos);
    EXPECT_NE(written.bytes.find("<BALANCE>1</BALANCE>"), std::string::npos);
}

TEST(OptionTags, ListTagsNameTheirListsInFileOrder) {
    std::vector<std::string_view> names;
    std::vector<Choice> choices;
    for (const OptionTag& tag : optionTags()) {
        if (tag.kind == OptionKind::List) {
            names.push_back(tag.name);
            choices.push_back(tag.choice);
        }
    }
    EXPECT_EQ(names, (std::vector<std::string_view>{"WINDOW", "ZOOM", "CONTROLBAR", "YAW", "PITCH",
                                                    "TILT", "AUDIO", "WIN_POS_X", "WIN_POS_Y",
                                                    "MOUSESPEED", "MAXFPS", "QUAL"}));
    EXPECT_EQ(choices, std::vector<Choice>(kAllChoices.begin(), kAllChoices.end()));
}

// The table against the model and the block: a tag's default is a fresh
// project's value, and both ends of the range `set` accepts survive the block.
TEST(OptionTags, DefaultsAreFreshValuesAndAcceptedNumbersRoundTrip) {
    const PlayerOptions fresh = defaultsAfterChoosingAVideo();
    for (const OptionTag& tag : optionTags()) {
        if (tag.kind == OptionKind::Title || tag.kind == OptionKind::Folder) {
            continue;
        }
        EXPECT_EQ(tag.number(fresh), tag.defaultValue) << tag.name;
        for (const std::int64_t number : {tag.low, tag.high}) {
            PlayerOptions options = fresh;
            tag.setNumber(options, number);
            EXPECT_EQ(tag.number(applied(blockOf(options))), number) << tag.name;
        }
    }
    EXPECT_EQ(findOptionTag("ZOOMMAX")->defaultValue, kDefaultZoomMax);
    EXPECT_EQ(findOptionTag("zoommax"), nullptr);
}

} // namespace
} // namespace qm
