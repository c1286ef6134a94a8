#include "publish/PresentationPageWriter.h"

#include <gtest/gtest.h>

namespace qm {
namespace {

const char* const kScript = "        <script>\r\n"
                            "       function bindButton() {\r\n"
                            "           var button      = document.getElementById('button');\r\n"
                            "           var iframe      = document.getElementById('iframe');\r\n"
                            "           var overlay     = document.getElementById('overlay');\r\n"
                            "           button.addEventListener('click', function(e) {iframe.src = "
                            "'tv360_player.html';});\r\n"
                            "           button.addEventListener('click', function(e) {\r\n"
                            "           iframe.style.pointerEvents = 'all';\r\n"
                            "           iframe.src = 'tv360_player.html';\r\n"
                            "           });\r\n"
                            "           iframe.style.pointerEvents = 'none';\r\n"
                            "           var listener = function() {\r\n"
                            "           iframe.style.pointerEvents = 'all';\r\n"
                            "           iframe.src = 'tv360_player.html';\r\n"
                            "           overlay.removeEventListener('click', listener);\r\n"
                            "           };\r\n"
                            "           overlay.addEventListener('click', listener, false);\r\n"
                            "       }\r\n"
                            "        </script>\r\n"
                            "    </head>\r\n"
                            "\r\n";

// Departures for phones: encoding, viewport, the tour's title, the player
// scaled to the screen, finger-sized button, heading readable on the colour.
std::string head(const std::string& title, const std::string& style) {
    return "<html>\r\n"
           "    <head>\r\n"
           "        <meta charset='utf-8'>\r\n"
           "        <meta name='viewport' content='width=device-width, initial-scale=1'>\r\n"
           "        <title>" +
           title + "</title>\r\n        <style>\r\n" + style + "        </style>\r\n" + kScript;
}

TEST(PresentationPageWriter, NormalPageLineForLine) {
    const std::string expected =
        head("Tom &amp; Jerry",
             "        #iframe { width: min(550px, 100%, calc((100vh - 10em) * 550 / 400)); height: "
             "auto; aspect-ratio: 550 / 400; }\r\n"
             "        @media (pointer: coarse) { #button { min-width: 44px; min-height: 44px; } "
             "}\r\n") +
        "<body onload='bindButton()' bgcolor='#000000' text='#FFFFFF'>\r\n"
        "        <center><br><br>Test example<br><br>\r\n"
        "        <div id='overlay' style='cursor: pointer'>\r\n"
        "            <iframe id='iframe'\r\n"
        "                frameborder='0'\r\n"
        "                src='title_start_html5.jpg'\r\n"
        "                width=550 height=400 scrolling='no' "
        "allowfullscreen>\r\n"
        "            </iframe>\r\n"
        "        </div>\r\n"
        "        <br>\r\n"
        "        <button id='button' style='cursor:pointer;'>Start 360 "
        "video</button>\r\n"
        "        </center>\r\n"
        "    </body>\r\n"
        "</html>\r\n";
    EXPECT_EQ(PresentationPageWriter::pageText({false, 0, "550", "400", "Tom & Jerry"}), expected);
}

TEST(PresentationPageWriter, FullWindowPageLineForLine) {
    const std::string expected =
        head("", "        body { margin: 0; }\r\n"
                 "        #iframe { display: block; max-width: 100vw; max-height: 100vh; }\r\n") +
        "<body bgcolor='#FF8000' onload='ReSize()'>\r\n" +
        "    <script type=\"TEXT/javascript\">\r\n"
        "        function ReSize(){\r\n"
        "                var iframe = document.getElementById('iframe');\r\n"
        "                var listener = iframe.contentDocument.addEventListener('click', "
        "function() {\r\n"
        "                    if (document.activeElement === document.getElementById('iframe')) "
        "{\r\n"
        "                        iframe.src = 'tv360_player.html';\r\n"
        "                    }\r\n"
        "                    iframe.contentDocument.removeEventListener('click', listener);\r\n"
        "                }, false);\r\n"
        "            resizeTo(screen.width, screen.height);\r\n"
        "            moveTo(0,0);\r\n"
        "            document.getElementById('iframe').width=screen.availWidth;\r\n"
        "            document.getElementById('iframe').height=screen.availHeight;\r\n"
        "            "
        "document.getElementById('iframe').contentDocument.body.children[0].style='width: 100%; "
        "height: 100%; cursor: pointer;';\r\n"
        "        }\r\n"
        "    </script>\r\n"
        "        <div id='overlay' style='cursor: pointer'>\r\n"
        "            <iframe id='iframe'\r\n"
        "                frameborder='0'\r\n"
        "                src='title_start_html5.jpg'\r\n"
        "                width=1024 height=768 scrolling='no' allowfullscreen>\r\n"
        "            </iframe>\r\n"
        "        </div>\r\n"
        "    </body>\r\n"
        "</html>\r\n";
    EXPECT_EQ(PresentationPageWriter::pageText({true, 0x0080FF, "1024", "768", ""}), expected);
}

TEST(PresentationPageWriter, HeadingColourReadsOnThePageColour) {
    // 0x00BBGGRR: black, white, the demo's dark blue, yellow, mid grey.
    EXPECT_EQ(readableTextColour(0x000000), "FFFFFF");
    EXPECT_EQ(readableTextColour(0xFFFFFF), "000000");
    EXPECT_EQ(readableTextColour(0x402010), "FFFFFF");
    EXPECT_EQ(readableTextColour(0x00FFFF), "000000");
    EXPECT_EQ(readableTextColour(0x777777), "000000");
}

TEST(PresentationPageWriter, LaunchersOpenThePageOnTheLocalServer) {
    EXPECT_EQ(PresentationPageWriter::serverLauncherText(),
              "REM for local tests only\r\nstart python -m http.server\r\n");
    EXPECT_EQ(PresentationPageWriter::testLauncherName("tour"), "start_test_tour.bat");
    EXPECT_EQ(PresentationPageWriter::testLauncherText("tour.html"),
              "REM for local tests only\r\nstart http://127.0.0.1:8000/tour.html\r\n");
    EXPECT_EQ(PresentationPageWriter::testLauncherText("_presentation.html"),
              "REM for local tests only\r\nstart http://127.0.0.1:8000/_presentation.html\r\n");
    // A blank or "&" would end the command; "%" is doubled for the batch file.
    EXPECT_EQ(PresentationPageWriter::testLauncherText("my tour&more.html"),
              "REM for local tests only\r\nstart "
              "http://127.0.0.1:8000/my%%20tour%%26more.html\r\n");
}

} // namespace
} // namespace qm
