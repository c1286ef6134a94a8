#include "publish/PresentationPageWriter.h"

#include "model/TextForms.h"
#include "publish/WebText.h"

#include <array>
#include <cmath>

namespace qm {
namespace {

constexpr std::string_view kEol = "\r\n";

template <std::size_t N>
void appendLines(std::string& out, const std::array<std::string_view, N>& lines) {
    for (const std::string_view line : lines) {
        out += line;
        out += kEol;
    }
}

void appendLine(std::string& out, std::string_view line) {
    out += line;
    out += kEol;
}

// The overlay's handler is a named function so that removeEventListener
// really removes it after the first click.
constexpr std::array<std::string_view, 19> kBindScript = {
    "        <script>",
    "       function bindButton() {",
    "           var button      = document.getElementById('button');",
    "           var iframe      = document.getElementById('iframe');",
    "           var overlay     = document.getElementById('overlay');",
    "           button.addEventListener('click', function(e) {iframe.src = 'tv360_player.html';});",
    "           button.addEventListener('click', function(e) {",
    "           iframe.style.pointerEvents = 'all';",
    "           iframe.src = 'tv360_player.html';",
    "           });",
    "           iframe.style.pointerEvents = 'none';",
    "           var listener = function() {",
    "           iframe.style.pointerEvents = 'all';",
    "           iframe.src = 'tv360_player.html';",
    "           overlay.removeEventListener('click', listener);",
    "           };",
    "           overlay.addEventListener('click', listener, false);",
    "       }",
    "        </script>",
};

// The text of a page that shows on phones as it is meant to: its encoding and
// title, the screen's own width, and a player scaled down (aspect kept) where
// the page would not fit, heading and button included; buttons a finger can hit.
void appendHeadStart(std::string& out, const PresentationFields& fields) {
    appendLine(out, "<html>");
    appendLine(out, "    <head>");
    appendLine(out, "        <meta charset='utf-8'>");
    appendLine(out, "        <meta name='viewport' content='width=device-width, initial-scale=1'>");
    appendLine(out, "        <title>" + htmlEscaped(fields.title) + "</title>");
    appendLine(out, "        <style>");
    if (fields.fullScreen) {
        appendLine(out, "        body { margin: 0; }");
        appendLine(out, "        #iframe { display: block; max-width: 100vw; max-height: 100vh; }");
    } else {
        appendLine(out, "        #iframe { width: min(" + fields.width +
                            "px, 100%, calc((100vh - 10em) * " + fields.width + " / " +
                            fields.height + ")); height: auto; aspect-ratio: " + fields.width +
                            " / " + fields.height + "; }");
        appendLine(
            out,
            "        @media (pointer: coarse) { #button { min-width: 44px; min-height: 44px; } }");
    }
    appendLine(out, "        </style>");
}

// Relative luminance of an sRGB channel byte.
double linearChannel(std::uint32_t byte) {
    const double value = byte / 255.0;
    return value <= 0.04045 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
}

constexpr std::array<std::string_view, 16> kResizeScript = {
    "    <script type=\"TEXT/javascript\">",
    "        function ReSize(){",
    "                var iframe = document.getElementById('iframe');",
    "                var listener = iframe.contentDocument.addEventListener('click', function() {",
    "                    if (document.activeElement === document.getElementById('iframe')) {",
    "                        iframe.src = 'tv360_player.html';",
    "                    }",
    "                    iframe.contentDocument.removeEventListener('click', listener);",
    "                }, false);",
    "            resizeTo(screen.width, screen.height);",
    "            moveTo(0,0);",
    "            document.getElementById('iframe').width=screen.availWidth;",
    "            document.getElementById('iframe').height=screen.availHeight;",
    "            document.getElementById('iframe').contentDocument.body.children[0].style='width: "
    "100%; height: 100%; cursor: pointer;';",
    "        }",
    "    </script>",
};

} // namespace

std::string readableTextColour(std::uint32_t background) {
    const double luminance = 0.2126 * linearChannel(background & 0xFF) +
                             0.7152 * linearChannel((background >> 8) & 0xFF) +
                             0.0722 * linearChannel((background >> 16) & 0xFF);
    // The contrast ratios against white and black meet at this luminance.
    return luminance < 0.179 ? "FFFFFF" : "000000";
}

std::string PresentationPageWriter::serverLauncherText() {
    std::string out;
    appendLine(out, "REM for local tests only");
    appendLine(out, "start python -m http.server");
    return out;
}

std::string PresentationPageWriter::testLauncherName(std::string_view pageName) {
    return "start_test_" + std::string(pageName) + ".bat";
}

std::string PresentationPageWriter::testLauncherText(std::string_view pageFileName) {
    // Percent-encoded, and every "%" doubled because a batch file reads "%2"
    // as an argument; plain names come out unchanged.
    std::string url;
    for (const char c : urlStrict(pageFileName)) {
        url += c;
        if (c == '%') {
            url += '%';
        }
    }
    std::string out;
    appendLine(out, "REM for local tests only");
    appendLine(out, "start http://127.0.0.1:8000/" + url);
    return out;
}

std::string PresentationPageWriter::pageText(const PresentationFields& fields) {
    const std::string colour = hexColourText(fields.pageColour);
    std::string out;
    appendHeadStart(out, fields);
    appendLines(out, kBindScript);
    appendLine(out, "    </head>");
    appendLine(out, "");
    if (fields.fullScreen) {
        appendLine(out, "<body bgcolor='#" + colour + "' onload='ReSize()'>");
        appendLines(out, kResizeScript);
    } else {
        appendLine(out, "<body onload='bindButton()' bgcolor='#" + colour + "' text='#" +
                            readableTextColour(fields.pageColour) + "'>");
        appendLine(out, "        <center><br><br>Test example<br><br>");
    }
    appendLine(out, "        <div id='overlay' style='cursor: pointer'>");
    appendLine(out, "            <iframe id='iframe'");
    appendLine(out, "                frameborder='0'");
    appendLine(out, "                src='title_start_html5.jpg'");
    appendLine(out, "                width=" + fields.width + " height=" + fields.height +
                        " scrolling='no' allowfullscreen>");
    appendLine(out, "            </iframe>");
    appendLine(out, "        </div>");
    if (!fields.fullScreen) {
        appendLine(out, "        <br>");
        appendLine(out,
                   "        <button id='button' style='cursor:pointer;'>Start 360 video</button>");
        appendLine(out, "        </center>");
    }
    appendLine(out, "    </body>");
    appendLine(out, "</html>");
    return out;
}

FileResult PresentationPageWriter::writeLaunchers(const std::filesystem::path& outputFolder,
                                                  std::string_view pageFileName) {
    if (FileResult failed =
            writeFileAtomically(outputFolder / kServerLauncherName, serverLauncherText())) {
        return failed;
    }
    const std::string pageName = std::filesystem::path(pageFileName).stem().string();
    return writeFileAtomically(outputFolder / testLauncherName(pageName),
                               testLauncherText(pageFileName));
}

FileResult PresentationPageWriter::writePage(const std::filesystem::path& pagePath,
                                             const PresentationFields& fields) {
    return writeFileAtomically(pagePath, pageText(fields));
}

} // namespace qm
