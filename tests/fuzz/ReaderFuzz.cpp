#include "ReaderFuzz.h"

#include "model/Cp1251.h"
#include "model/TextForms.h"
#include "persist/OptionsBlock.h"
#include "persist/ProjectFile.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

void require(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "invariant broken: %s\n", what);
        std::abort();
    }
}

// Text decoded from file bytes must encode back to the very same bytes.
bool decodesLosslessly(std::string_view fileBytes, std::string_view decoded) {
    const qm::Cp1251Result back = qm::utf8ToCp1251(decoded);
    return back.lossless && back.bytes == fileBytes;
}

void checkOptions(const qm::PlayerOptions& options) {
    for (const qm::Choice choice : qm::kAllChoices) {
        const int item = options.item(choice);
        require(item >= 0 && item <= static_cast<int>(qm::choiceItems(choice).size()),
                "list item within its list");
    }
    require(options.zoomMax > 0, "ZOOMMAX positive");
    require(options.htmlBgColor <= 0xFFFFFFu && options.blackAreaColor <= 0xFFFFFFu,
            "colours are 24-bit");
    require(!options.loadDir.empty() && !options.saveDir.empty(), "folders never empty");
}

void checkHotSpots(const qm::HotSpotTable& table) {
    for (int slot = 1; slot <= qm::kSlotCount; ++slot) {
        const qm::HotSpotItem& item = table.record(slot);
        require(qm::utf8ToCp1251(item.link).bytes.size() <= qm::kLinkBytes, "link limit");
        require(qm::utf8ToCp1251(item.title).bytes.size() <= qm::kTitleBytes, "title limit");
        require(std::isfinite(item.pos) && std::isfinite(item.time), "finite numbers");
    }
}

// A '<' in a text may stand for another line's tag, which the next read takes
// for that line's value; without one, nothing in a text can move a value.
bool textsHoldATag(const qm::Project& project) {
    const auto holds = [](std::string_view text) { return text.find('<') != text.npos; };
    bool found = holds(project.options.htmlTitle) || holds(project.options.loadDir) ||
                 holds(project.options.saveDir);
    for (int number = 1; number <= 3; ++number) {
        found = found || holds(project.videos.path(number));
    }
    for (int slot = 1; slot <= qm::kSlotCount; ++slot) {
        const qm::HotSpotItem& item = project.hotSpots.record(slot);
        found = found || holds(item.link) || holds(item.title);
    }
    return found;
}

// Whatever was read writes out again and reads back within the limits; unless
// a text holds a tag, the file saved again is the same byte for byte and opens
// the same video.
void checkRewrite(const qm::Project& project, const std::string& video) {
    const qm::EncodedText text = qm::projectFileText(project);
    std::size_t lineEnds = 0;
    for (std::size_t at = text.bytes.find("\r\n"); at != std::string::npos;
         at = text.bytes.find("\r\n", at + 2)) {
        ++lineEnds;
    }
    require(lineEnds >= 102, "at least 102 line ends");
    qm::Project again;
    const std::string videoAgain =
        qm::applyProjectContent(qm::prepareContent(text.bytes), again, "/cwd");
    checkOptions(again.options);
    checkHotSpots(again.hotSpots);
    if (!textsHoldATag(project)) {
        require(qm::projectFileText(again).bytes == text.bytes, "a second save is the first");
        require(videoAgain == video, "the same video opens again");
    }
}

void checkNumberForms(std::string_view input) {
    const double value = qm::numberValue(input);
    require(!std::isnan(value), "numberValue never NaN");
    const std::string text = qm::numberText(value);
    const double back = qm::numberValue(text);
    if (std::isfinite(value) && value != 0.0) {
        require(std::fabs(back - value) <= std::fabs(value) * 1e-14, "numberText round trip");
    }
    (void)qm::maskText(value, "#####.000");
    (void)qm::maskText(value, "0.00");
    (void)qm::integerValue(input);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    require(decodesLosslessly(bytes, qm::cp1251ToUtf8(bytes)), "Windows-1251 round trip");
    const std::string prepared = qm::prepareContent(bytes);

    qm::Project project;
    project.options = qm::PlayerOptions::fresh("/start");
    const std::string video = qm::applyProjectContent(prepared, project, "/cwd");
    checkOptions(project.options);
    checkHotSpots(project.hotSpots);
    checkRewrite(project, video);

    qm::PlayerOptions options;
    qm::applyOptionsBlock(prepared, options, "/cwd");
    checkOptions(options);
    (void)qm::resolvePublishedOptions(options);

    checkNumberForms(bytes.substr(0, 64));
    return 0;
}
