#include "publish/PresentationPageWriter.h"

#include <gtest/gtest.h>

namespace qm {
namespace {

const char* const kHead = "<html>\r\n"
                          "    <head>\r\n"
                          "        <script>\r\n"
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

TEST(PresentationPageWriter, NormalPageLineForLine) {
    const std::string expected = std::string(kHead) +
                                 "<body onload='bindButton()' bgcolor='#000000'>\r\n"
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
    EXPECT_EQ(PresentationPageWriter::pageText({false, 0, "550", "400"}), expected);
}

TEST(PresentationPageWriter, FullWindowPageLineForLine) {
    const std::string expected =
        std::string(kHead) + "<body bgcolor='#FF8000' onload='ReSize()'>\r\n" +
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
    EXPECT_EQ(PresentationPageWriter::pageText({true, 0x0080FF, "1024", "768"}), expected);
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
