#include "model/PlayerOptions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace qm {
namespace {

using Items = std::vector<std::string>;

TEST(ChoiceLists, FixedTextsWithTheirBlanks) {
    EXPECT_EQ(choiceItems(Choice::Window),
              (Items{"01.320x240", "02.400x300", "03.550x400", "04.600x400", "05.640x480",
                     "06.800x400", "07.800x480", "08.800x600", "09.960x480", "10.1024x480",
                     "11.1024x640", "12.1024x768"}));
    EXPECT_EQ(choiceItems(Choice::ControlBar), (Items{" auto", " мини"}));
    EXPECT_EQ(choiceItems(Choice::Pitch), (Items{" auto", " 30  град.", " 20  град.", " 10  град.",
                                                 " 0", "-10  град.", "-20  град.", "-30  град."}));
    EXPECT_EQ(choiceItems(Choice::Tilt),
              (Items{" auto", " 40  град.", " 45  град.", " 50  град.", " 55  град.", " 60  град.",
                     " 65  град.", " 70  град.", " 75  град.", " 80  град.", " 85  град.",
                     " 90  град.", " manual"}));
    EXPECT_EQ(choiceItems(Choice::Qual),
              (Items{" auto", " 64", " 128", " 172", " 200", " 252", " 282"}));
    EXPECT_EQ(choiceItems(Choice::MaxFps),
              (Items{" auto", "  7", " 15", " 20", " 24", " 30", " 50", " 60"}));
    EXPECT_EQ(choiceItems(Choice::MouseSpeed), (Items{" auto", " 0.020", " 0.025", " 0.030",
                                                      " 0.035", " 0.040", " 0.045", " 0.050"}));
    EXPECT_EQ(choiceItems(Choice::WinPosX), (Items{" auto", " left", " right", " center"}));
    EXPECT_EQ(choiceItems(Choice::WinPosY), (Items{" auto", " top", " bottom", " center"}));
}

TEST(ChoiceLists, GeneratedLists) {
    EXPECT_EQ(choiceItems(Choice::Yaw),
              (Items{" auto", " 0 град.", " 30 град.", " 60 град.", " 90 град.", " 120 град.",
                     " 150 град.", " 180 град.", " 210 град.", " 240 град.", " 270 град.",
                     " 300 град.", " 330 град."}));
    EXPECT_EQ(choiceItems(Choice::Audio),
              (Items{"0%", "10%", "20%", "30%", "40%", "50%", "60%", "70%", "80%", "90%", "100%"}));
    EXPECT_EQ(choiceItems(Choice::Zoom),
              (Items{"40", "50", "60", "70", "80", "90", "100", "110", "120", "130"}));
}

TEST(ChoiceLists, ZoomListFromItsUpperBound) {
    EXPECT_EQ(zoomItems(130).size(), 10u);
    EXPECT_EQ(zoomItems(200).size(), 15u); // at most 15
    EXPECT_EQ(zoomItems(1000).back(), "180");
    EXPECT_EQ(zoomItems(75), (Items{"40", "50", "60", "70"}));
    EXPECT_TRUE(zoomItems(30).empty());
    EXPECT_TRUE(zoomItems(-5).empty());
}

TEST(PlayerOptionsState, FreshStartShowsTheDefaults) {
    const PlayerOptions o = PlayerOptions::fresh("/start");
    EXPECT_EQ(o.itemText(Choice::Window), "03.550x400");
    EXPECT_EQ(o.itemText(Choice::Zoom), "120");
    EXPECT_EQ(o.itemText(Choice::Audio), "50%");
    for (const Choice c :
         {Choice::ControlBar, Choice::Yaw, Choice::Pitch, Choice::Tilt, Choice::WinPosX,
          Choice::WinPosY, Choice::MouseSpeed, Choice::MaxFps, Choice::Qual}) {
        EXPECT_EQ(o.itemText(c), " auto") << static_cast<int>(c);
    }
    EXPECT_TRUE(o.controls);
    EXPECT_FALSE(o.fullScreen);
    EXPECT_FALSE(o.stat);
    EXPECT_EQ(o.viewMode, 0);
    EXPECT_EQ(o.htmlBgColor, 0u);
    EXPECT_EQ(o.blackAreaColor, 0u);
    EXPECT_EQ(o.htmlTitle, "");
    EXPECT_EQ(o.tooltipHelp, 1);
    EXPECT_EQ(o.zoomMax, 130);
    EXPECT_EQ(o.loadDir, "/start");
    EXPECT_EQ(o.saveDir, "/start");
    EXPECT_EQ(o.hsIcons, HotSpotIcons{});
    EXPECT_EQ(o.transient, TransientSettings{});
}

TEST(PlayerOptionsState, ItemOutsideTheListLeavesNoSelection) {
    PlayerOptions o;
    o.setItem(Choice::Window, 12);
    EXPECT_EQ(o.itemText(Choice::Window), "12.1024x768");
    o.setItem(Choice::Window, 13);
    EXPECT_EQ(o.item(Choice::Window), 0);
    EXPECT_EQ(o.itemText(Choice::Window), std::nullopt);
    EXPECT_EQ(o.publishedItemText(Choice::Window), "03.550x400");
    o.setItem(Choice::Audio, -1);
    EXPECT_EQ(o.item(Choice::Audio), 0);
    o.setItem(Choice::ControlBar, 2);
    EXPECT_EQ(o.item(Choice::ControlBar), 2);
    o.setItem(Choice::ControlBar, 3);
    EXPECT_EQ(o.item(Choice::ControlBar), 0);
}

TEST(PlayerOptionsState, ResetTouchesExactlyItsSet) {
    PlayerOptions o = PlayerOptions::fresh("/start");
    for (const Choice c : kAllChoices) {
        o.setItem(c, 2);
    }
    o.fullScreen = true;
    o.controls = false;
    o.stat = true;
    o.htmlTitle = "Тур";
    o.viewMode = 1;
    o.htmlBgColor = 0x123456;
    o.blackAreaColor = 0xFF;
    o.tooltipHelp = 0;
    o.zoomMax = 200;
    o.hsIcons[4] = 207;
    o.loadDir = "/load";
    o.saveDir = "/save";
    o.transient.muted = true;
    o.transient.manualTilt = "45";

    o.resetToDefaults();
    PlayerOptions expected = PlayerOptions::fresh("/start");
    expected.tooltipHelp = 0;
    expected.zoomMax = 200;
    expected.hsIcons[4] = 207;
    expected.loadDir = "/load";
    expected.saveDir = "/save";
    expected.transient.muted = true;
    expected.transient.manualTilt = "45";
    EXPECT_EQ(o, expected);
}

TEST(WindowSize, ItemSizesAndDefaultFallback) {
    EXPECT_EQ(windowSize(1), std::make_pair(std::string("320"), std::string("240")));
    EXPECT_EQ(windowSize(3), std::make_pair(std::string("550"), std::string("400")));
    EXPECT_EQ(windowSize(10), std::make_pair(std::string("1024"), std::string("480")));
    EXPECT_EQ(windowSize(12), std::make_pair(std::string("1024"), std::string("768")));
    EXPECT_EQ(windowSize(0), windowSize(3));
    EXPECT_EQ(windowSize(99), windowSize(3));
}

TEST(LeadingNumber, DecimalOnly) {
    EXPECT_EQ(leadingNumber(" 0.035"), 0.035);
    EXPECT_EQ(leadingNumber("-30  град."), -30);
    EXPECT_EQ(leadingNumber(" auto"), 0);
    EXPECT_EQ(leadingNumber("&h10"), 0);
    EXPECT_EQ(leadingNumber("7"), 7);
    EXPECT_EQ(leadingNumber(""), 0);
}

PublishedOptions publish(PlayerOptions o) {
    return resolvePublishedOptions(o).values;
}

TEST(Published, FreshDefaults) {
    const PublishedOptions p = publish(PlayerOptions::fresh("/"));
    EXPECT_EQ(p.renderX, "550");
    EXPECT_EQ(p.renderY, "400");
    EXPECT_EQ(p.zoomText, "120");
    EXPECT_EQ(p.yaw, 0);
    EXPECT_EQ(p.pitch, 0);
    EXPECT_EQ(p.vertMax, 90);
    EXPECT_EQ(p.segments, 128);
    EXPECT_EQ(p.maxFps, 15);
    EXPECT_FLOAT_EQ(p.mouseSpeed, 0.02f);
    EXPECT_EQ(p.winPosX, "left");
    EXPECT_EQ(p.winPosY, "top");
    EXPECT_EQ(p.volumeText, "0.50");
    EXPECT_TRUE(p.controls);
    EXPECT_EQ(p.controlBar, 1);
}

TEST(Published, NumbersFromItemTexts) {
    PlayerOptions o;
    o.setItem(Choice::Pitch, 8);      // "-30  град."
    o.setItem(Choice::MouseSpeed, 5); // " 0.035"
    o.setItem(Choice::Yaw, 8);        // " 180 град."
    o.setItem(Choice::Qual, 7);       // " 282"
    o.setItem(Choice::MaxFps, 2);     // "  7"
    o.setItem(Choice::Window, 12);
    o.setItem(Choice::WinPosX, 4);
    o.setItem(Choice::WinPosY, 3);
    const PublishedOptions p = publish(o);
    EXPECT_EQ(p.pitch, -30);
    EXPECT_FLOAT_EQ(p.mouseSpeed, 0.035f);
    EXPECT_EQ(p.yaw, 180);
    EXPECT_EQ(p.segments, 282);
    EXPECT_EQ(p.maxFps, 7);
    EXPECT_EQ(p.renderX, "1024");
    EXPECT_EQ(p.renderY, "768");
    EXPECT_EQ(p.winPosX, "center");
    EXPECT_EQ(p.winPosY, "bottom");
}

TEST(Published, ZeroItemsPublishLikeAuto) {
    PlayerOptions o;
    o.setItem(Choice::Pitch, 5); // " 0"
    o.setItem(Choice::Yaw, 2);   // " 0 град."
    EXPECT_EQ(publish(o).pitch, 0);
    EXPECT_EQ(publish(o).yaw, 0);
}

TEST(Published, NoSelectionFallsBackToTheDefaultItem) {
    PlayerOptions o;
    for (const Choice c : kAllChoices) {
        o.setItem(c, 0);
    }
    const PublishedOptions p = publish(o);
    EXPECT_EQ(p.renderX, "550");
    EXPECT_EQ(p.zoomText, "120");
    EXPECT_EQ(p.volumeText, "0.50");
    EXPECT_EQ(p.winPosX, "left");
    EXPECT_EQ(p.segments, 128);
    EXPECT_EQ(p.controlBar, 1);
}

TEST(Published, VolumeText) {
    PlayerOptions o;
    o.setItem(Choice::Audio, 1);
    EXPECT_EQ(publish(o).volumeText, "0.00");
    o.setItem(Choice::Audio, 11);
    EXPECT_EQ(publish(o).volumeText, "1.00");
    o.setItem(Choice::Audio, 4);
    EXPECT_EQ(publish(o).volumeText, "0.30");
}

TEST(Published, VerticalLimitFromTheListOrTheManualBox) {
    PlayerOptions o;
    o.setItem(Choice::Tilt, 13); // " manual"
    const auto limitWith = [&](const std::string& manual) {
        o.transient.manualTilt = manual;
        return publish(o).vertMax;
    };
    EXPECT_EQ(limitWith("25"), 90);
    EXPECT_EQ(limitWith("30"), 30);
    EXPECT_EQ(limitWith("90"), 90);
    EXPECT_EQ(limitWith("91"), 90);
    EXPECT_EQ(limitWith(""), 90);
    o.setItem(Choice::Tilt, 1); // " auto"
    EXPECT_EQ(limitWith("45"), 45);
    o.setItem(Choice::Tilt, 3); // " 45  град."
    EXPECT_EQ(limitWith("60"), 45);
}

TEST(Published, ManualSizeAcceptedAtTheMinimum) {
    PlayerOptions o;
    o.transient.manualSize = true;
    // Leading zeros go: the script would read 0320 as an octal number.
    o.transient.manualWidth = "0320";
    o.transient.manualHeight = "0100";
    const ResolvedOptions r = resolvePublishedOptions(o);
    EXPECT_FALSE(r.manualSizeRejected);
    EXPECT_EQ(r.values.renderX, "320");
    EXPECT_EQ(r.values.renderY, "100");
}

TEST(Published, ManualSizeTooSmallIsResetAndTheListSizeUsed) {
    for (const auto& [width, height] :
         {std::pair{"319", "100"}, std::pair{"320", "99"}, std::pair{"", ""}}) {
        PlayerOptions o;
        o.setItem(Choice::Window, 5);
        o.transient.manualSize = true;
        o.transient.manualWidth = width;
        o.transient.manualHeight = height;
        const ResolvedOptions r = resolvePublishedOptions(o);
        EXPECT_TRUE(r.manualSizeRejected);
        EXPECT_EQ(o.transient.manualWidth, "320");
        EXPECT_EQ(o.transient.manualHeight, "100");
        EXPECT_EQ(r.values.renderX, "640");
        EXPECT_EQ(r.values.renderY, "480");
    }
    EXPECT_EQ(kManualSizeMessage,
              "Минимальный размер ширины окна - 320 pix\r\nМинимальный размер высоты  = 100 pix");
    EXPECT_EQ(kManualSizeCaption, "Информация:");
}

TEST(Published, ManualSizeOffIgnoresTheBoxes) {
    PlayerOptions o;
    o.transient.manualWidth = "10";
    o.transient.manualHeight = "10";
    const ResolvedOptions r = resolvePublishedOptions(o);
    EXPECT_FALSE(r.manualSizeRejected);
    EXPECT_EQ(o.transient.manualWidth, "10");
    EXPECT_EQ(r.values.renderX, "550");
}

TEST(Published, SwitchesColoursAndTransients) {
    PlayerOptions o;
    o.fullScreen = true;
    o.controls = false;
    o.stat = true;
    o.viewMode = 1;
    o.blackAreaColor = 0x0000FF;
    o.htmlBgColor = 0xFF0000;
    o.transient.muted = true;
    o.transient.lockFullScreen = true;
    const PublishedOptions p = publish(o);
    EXPECT_TRUE(p.fullScreen);
    EXPECT_FALSE(p.controls);
    EXPECT_TRUE(p.stat);
    EXPECT_EQ(p.viewMode, 1);
    EXPECT_EQ(p.blackAreaColor, 0x0000FFu);
    EXPECT_EQ(p.htmlBgColor, 0xFF0000u);
    EXPECT_TRUE(p.muted);
    EXPECT_TRUE(p.lockFullScreen);
}

} // namespace
} // namespace qm
