#include "publish/PlayerPageBuilder.h"

#include "PublishTestSupport.h"
#include "publish/PackageLayout.h"
#include "publish/Payloads.h"

#include <gtest/gtest.h>

#include <vector>

namespace qm {
namespace {

std::string sourcesOf(const VideoPaths& videos) {
    const auto list = PlayerPageBuilder::buildSourceList(videos);
    EXPECT_TRUE(std::holds_alternative<std::string>(list));
    return std::holds_alternative<std::string>(list) ? std::get<std::string>(list) : "";
}

VideoPaths videos(std::string v1, std::string v2 = {}, std::string v3 = {}) {
    VideoPaths paths;
    paths.set(1, std::move(v1));
    paths.set(2, std::move(v2));
    paths.set(3, std::move(v3));
    return paths;
}

std::size_t count(std::string_view text, std::string_view what) {
    std::size_t n = 0;
    for (std::size_t at = text.find(what); at != std::string_view::npos;
         at = text.find(what, at + 1)) {
        ++n;
    }
    return n;
}

TEST(PlayerPageBuilder, SourceListHasThreeBreaksWhateverIsSet) {
    EXPECT_EQ(sourcesOf(videos("/any/folder/tour.mp4")),
              "<SOURCE src=\"tour.mp4\" type='video/mp4'/>\r\n\r\n\r\n");
    EXPECT_EQ(sourcesOf(videos("/v/a.webm", "", "/w/c.OGV")),
              "<SOURCE src=\"a.webm\" type='video/webm'/>\r\n\r\n"
              "<SOURCE src=\"c.OGV\" type='video/ogv'/>\r\n");
    EXPECT_EQ(sourcesOf(videos("clip.Mp4")),
              "<SOURCE src=\"clip.Mp4\" type='video/mp4'/>\r\n\r\n\r\n");
}

TEST(PlayerPageBuilder, TypeTextsOfTheSevenExtensions) {
    const std::vector<std::pair<std::string, std::string>> table = {
        {"a.webm", " type='video/webm'/>"},     {"a.ogg", " type='video/ogg'/>"},
        {"a.ogv", " type='video/ogv'/>"},       {"a.mp4", " type='video/mp4'/>"},
        {"a.mov", " type='video/quicktime'/>"}, {"a.QT", " type='video/quicktime'/>"},
        {"a.m4v", " type='video/mp4'/>"},       {"x.tar.MP4", " type='video/mp4'/>"}};
    for (const auto& [name, type] : table) {
        ASSERT_TRUE(PlayerPageBuilder::typeText(name)) << name;
        EXPECT_EQ(*PlayerPageBuilder::typeText(name), type) << name;
    }
    for (const char* refused : {"a.avi", "mp4", "a.mp4.bak", "a.", "a.mkv"}) {
        EXPECT_FALSE(PlayerPageBuilder::typeText(refused)) << refused;
    }
}

TEST(PlayerPageBuilder, FirstUnsupportedVideoIsNamed) {
    const auto list =
        PlayerPageBuilder::buildSourceList(videos("/v/a.mp4", "/v/b.avi", "/v/c.wmv"));
    ASSERT_TRUE(std::holds_alternative<UnsupportedVideo>(list));
    EXPECT_EQ(std::get<UnsupportedVideo>(list), (UnsupportedVideo{2, "/v/b.avi"}));
}

TEST(PlayerPageBuilder, FileNamesAreSafeInTheAttributeAndTheUrl) {
    EXPECT_EQ(sourcesOf(videos("/v/my clip #1?100%.mp4")),
              "<SOURCE src=\"my%20clip%20%231%3F100%25.mp4\" type='video/mp4'/>\r\n\r\n\r\n");
    EXPECT_EQ(sourcesOf(videos("/v/a\"b&c.webm")),
              "<SOURCE src=\"a%22b%26c.webm\" type='video/webm'/>\r\n\r\n\r\n");
    EXPECT_EQ(sourcesOf(videos("/v/тур.mp4")),
              "<SOURCE src=\"тур.mp4\" type='video/mp4'/>\r\n\r\n\r\n");
}

TEST(PlayerPageBuilder, TemplateHoldsEachPlaceholderOnce) {
    const std::string_view page = payloadText(onlyPayload(PayloadRole::Page).number);
    for (const std::string_view placeholder :
         {kSourcePlaceholder, kTitlePlaceholder, kColourPlaceholder, kMutedPlaceholder}) {
        EXPECT_EQ(count(page, placeholder), 1u) << placeholder;
    }
    EXPECT_EQ(page.find('\r'), std::string_view::npos);
    for (const char c : page) {
        ASSERT_LT(static_cast<unsigned char>(c), 0x80u);
    }
}

TEST(PlayerPageBuilder, TemplateHoldsThePageInDocumentOrder) {
    const std::string_view page = payloadText(onlyPayload(PayloadRole::Page).number);
    const std::vector<std::string_view> inOrder = {
        "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 Transitional//EN\">",
        "<html lang=\"en-US\">",
        "<title>SSSSSSSSSSSSSSSSSSSSSSSSSSSSSS</title>",
        "content=\"text/html; charset=utf-8\"",
        "content=\"no-cache\"",
        "content=\"width=device-width, initial-scale=1.0, user-scalable=no\"",
        "src=\"js/ctr/cn1.js\"",
        "href=\"js/st.css\"",
        "<body bgcolor=#000000 style=\"overflow:hidden\"",
        "onselectstart=\"return false\"",
        "oncopy=\"return false\"",
        "oncontextmenu=\"return false\"",
        "<div id=\"container\"></div>",
        "id=\"ab\" title=\"About\" width=\"72\" height=\"72\" src=\"data:image/png;base64,",
        "onmousedown=\"locflash()\"",
        "id=\"titlePN\" src=\"images/title.png\"",
        "onmouseover=\"cTitle(this)\"",
        "id=\"leftBT\" src=\"images/left.png\" title=\"Panning Left\"",
        "onmousedown=\"cLeft(this)\" onmouseover=\"this.src='images/leftL.png'\"",
        "onmouseup=\"this.src='images/leftL.png'\" onmouseout=\"this.src='images/left.png'\"",
        "id=\"upBT\" src=\"images/up.png\" title=\"Panning Up\"",
        "id=\"stopBT\" src=\"images/stop.png\" title=\"Stop Panning\"",
        "id=\"downBT\" src=\"images/down.png\" title=\"Panning Down\"",
        "id=\"rightBT\" src=\"images/right.png\" title=\"Panning Right\"",
        "id=\"zoominBT\" src=\"images/zoomin.png\" title=\"Zoom In\"",
        "id=\"zoomoutBT\" src=\"images/zoomout.png\" title=\"Zoom Out\"",
        "id=\"restartBT\" src=\"images/restart.png\" title=\"Restart video\"",
        "onmousedown=\"cRestart(this)\"",
        "id=\"muteON\" src=\"images/muteON.png\" title=\"mute On\"",
        "onmousedown=\"cMuteON(this)\"",
        "id=\"muteOFF\" src=\"images/muteOFF.png\" title=\"mute Off\"",
        "onmousedown=\"cMuteOFF(this)\"",
        "id=\"check_hs\" src=\"images/check_hs.gif\" title=\"hot spot is shown\"",
        "onmousedown=\"\"",
        "id=\"hs1\" src=\"images/hs1.gif\" title=\"\"",
        "onmousedown=\"cHS1(this)\"",
        "id=\"hs10\" src=\"images/hs10.gif\" title=\"\"",
        "onmousedown=\"cHS10(this)\"",
        "src=\"js/ctr/cn2.js\"",
        "src=\"js/ctr/cn0.js\"",
        "src=\"js/build/Three.js\"",
        "src=\"js/raf.js\"",
        "src=\"js/Stats.js\"",
        "OS_FULL_SCREEN == 1",
        "fullScreenOn()",
        "<video id=\"video\" autoplay=\"autoplay\" style=\"display:none\"",
        "\nXXXXXXXXXXXXXXXXXXXXXXXXXXXXXX\n",
        "!*** Your Browser does not support this video ***!",
        "src=\"images/poster.jpg\" alt=\"Your Browser is not support the video\"",
        "onmousedown=\"locflash()\"",
        "!*** Your Browser does not support this video ***!",
        "</video>",
        "function locflash()",
        "window.open(",
        "'_blank'",
        "id=\"controls\"",
        "id=\"play\" class=\"play control\" title=\"Play/Pause\"",
        "id=\"progress\"",
        "id=\"total\"",
        "id=\"buffered\"",
        "id=\"current\"",
        "id=\"play_time\"",
        "id=\"current_time_display\">00:00<",
        " / ",
        "id=\"duration_display\">00:00<",
        "id=\"volume\" title=\"Volume\"",
        "id=\"volume_display\"",
        "id=\"full_screen\" title=\"Full Sreen On/Off\"",
        "id=\"fs_top_left\" class=\"fs-corner\"",
        "id=\"fs_top_right\" class=\"fs-corner\"",
        "id=\"fs_bottom_left\" class=\"fs-corner\"",
        "id=\"fs_bottom_right\" class=\"fs-corner\"",
        "id=\"fragmentShader\" type=\"x-shader/x-fragment\"",
        "uniform sampler2D tDiffuse;",
        "texture2D(tDiffuse, vUv)",
        "1.0)",
        "id=\"vertexShader\" type=\"x-shader/x-vertex\"",
        "vUv = uv;",
        "projectionMatrix * modelViewMatrix * vec4(position, 1.0)",
        "src=\"js/ctr/cn3.js\"",
        "</body>",
    };
    std::size_t at = 0;
    for (const std::string_view piece : inOrder) {
        const std::size_t found = page.find(piece, at);
        ASSERT_NE(found, std::string_view::npos)
            << "not found after offset " << at << ": " << piece;
        at = found + piece.size();
    }
    // Eleven buttons and eleven hot spot images start off screen.
    EXPECT_GE(count(page, "left:3000px; top:3000px"), 23u);
    EXPECT_EQ(count(page, "<li></li>"), 6u);
}

TEST(PlayerPageBuilder, FillReplacesThePlaceholdersWhereTheyStand) {
    const std::string_view templ =
        "<title>SSSSSSSSSSSSSSSSSSSSSSSSSSSSSS</title>\n<body bgcolor=#000000 style=\"x\">\n"
        "<video style=\"display:none\">\nXXXXXXXXXXXXXXXXXXXXXXXXXXXXXX\n</video>\n";
    PlayerPageFields fields;
    fields.sourceList =
        "<SOURCE src=\"SSSSSSSSSSSSSSSSSSSSSSSSSSSSSS.mp4\" type='video/mp4'/>\r\n\r\n\r\n";
    fields.title = "Tom & \"Jerry\" <b>bgcolor=#000000</b>";
    fields.muted = true;
    fields.pageColour = 0x0000FF;
    EXPECT_EQ(PlayerPageBuilder::fill(templ, fields),
              "<title>Tom &amp; &quot;Jerry&quot; &lt;b&gt;bgcolor=#000000&lt;/b&gt;</title>\n"
              "<body bgcolor='#FF0000'  style=\"x\">\n<video style=\"display:none\" muted>\n"
              "<SOURCE src=\"SSSSSSSSSSSSSSSSSSSSSSSSSSSSSS.mp4\" type='video/mp4'/>\r\n\r\n\r\n\n"
              "</video>\n");
    fields.muted = false;
    fields.title.clear();
    const std::string plain = PlayerPageBuilder::fill(templ, fields);
    EXPECT_NE(plain.find("<title></title>"), std::string::npos);
    EXPECT_NE(plain.find("<video style=\"display:none\">"), std::string::npos);
}

} // namespace
} // namespace qm
