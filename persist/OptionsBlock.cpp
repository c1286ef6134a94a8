#include "persist/OptionsBlock.h"

#include "model/Cp1251.h"
#include "model/TextForms.h"

#include <algorithm>
#include <cmath>

namespace qm {
namespace {

constexpr std::string_view kHeaderLine = "Generatad by Quillmark, d'not edit!";
constexpr std::string_view kHeaderRule = "------------------------------------------------";
constexpr std::string_view kViewModeComment = "  //   0 - classic, 1 - black areas";
constexpr int kBorderValue = 0;
constexpr int kBalanceValue = 1;

std::string openTag(std::string_view name) {
    return "<" + std::string(name) + ">";
}

std::string tagLine(std::string_view name, std::string_view value) {
    return openTag(name) + std::string(value) + "</" + std::string(name) + ">";
}

std::string intText(std::int64_t value) {
    return numberText(static_cast<double>(value));
}

void appendTagLine(EncodedText& out, std::string_view name, std::string_view value) {
    appendLine(out, tagLine(name, value), name);
}

// Colours are stored as their six hexadecimal digits; reading them through
// "&h00" keeps them from ever being taken as decimal.
std::uint32_t colourValue(std::string_view value) {
    const double number = numberValue("&h00" + std::string(value));
    return static_cast<std::uint32_t>(std::fmod(number, 16777216.0));
}

std::string_view tagValueOf(std::string_view prepared, std::string_view name) {
    return tagValue(prepared, openTag(name));
}

std::int32_t integerOf(std::string_view prepared, std::string_view name) {
    return integerValue(tagValueOf(prepared, name));
}

// A check box takes 1 as set; anything else, a missing tag included, clears it.
bool switchOf(std::string_view prepared, std::string_view name) {
    return integerOf(prepared, name) == 1;
}

std::string folderOf(std::string_view prepared, std::string_view name,
                     std::string_view currentDir) {
    const std::string_view folder = trimBlanks(tagValueOf(prepared, name));
    return std::string(folder.empty() ? currentDir : folder);
}

std::string iconTag(int index) {
    return "HS_ICON" + intText(index);
}

void applyChoice(std::string_view prepared, PlayerOptions& options, Choice choice) {
    options.setItem(choice, integerOf(prepared, choiceTag(choice)));
}

void noteField(std::vector<std::string>& fields, const std::string& name) {
    if (std::find(fields.begin(), fields.end(), name) == fields.end()) {
        fields.push_back(name);
    }
}

// What stands between a tag line's own opening and closing tag; empty for
// other lines.
std::string_view ownValue(std::string_view line, std::string_view field) {
    const std::string open = openTag(field);
    const std::string close = "</" + std::string(field) + ">";
    if (field.empty() || line.size() < open.size() + close.size() || !line.starts_with(open) ||
        !line.ends_with(close)) {
        return {};
    }
    return line.substr(open.size(), line.size() - open.size() - close.size());
}

bool isTagNameChar(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

bool startsWithUtf8Marker(std::string_view fileBytes) {
    return fileBytes.starts_with(kUtf8MarkerLine) &&
           (fileBytes.size() == kUtf8MarkerLine.size() ||
            fileBytes[kUtf8MarkerLine.size()] == '\r' || fileBytes[kUtf8MarkerLine.size()] == '\n');
}

} // namespace

void appendLine(EncodedText& out, std::string_view utf8Line, std::string_view field) {
    const std::string name = field.empty() ? std::string(utf8Line) : std::string(field);
    if (tagTextIn(ownValue(utf8Line, field))) {
        noteField(out.tagTextFields, name);
    }
    const Cp1251Result encoded = utf8ToCp1251(utf8Line);
    if (!encoded.lossless) {
        if (!out.isUtf8()) {
            // Every line so far fitted the code page, so it converts back exactly.
            out.bytes =
                std::string(kUtf8MarkerLine) + std::string(kLineEnd) + cp1251ToUtf8(out.bytes);
        }
        noteField(out.utf8Fields, name);
    }
    out.bytes += out.isUtf8() ? utf8Line : std::string_view(encoded.bytes);
    out.bytes += kLineEnd;
}

std::optional<std::string> tagTextIn(std::string_view value) {
    for (std::size_t at = value.find('<'); at != std::string_view::npos;
         at = value.find('<', at + 1)) {
        if (at + 1 < value.size() && value[at + 1] == '/') {
            return "</";
        }
        std::size_t end = at + 1;
        while (end < value.size() && isTagNameChar(value[end])) {
            ++end;
        }
        if (end > at + 1 && end < value.size() && value[end] == '>') {
            return std::string(value.substr(at, end - at + 1));
        }
    }
    return std::nullopt;
}

void writeOptionsBlock(EncodedText& out, const PlayerOptions& options) {
    const auto choiceLine = [&](Choice choice) {
        appendTagLine(out, choiceTag(choice), intText(options.item(choice)));
    };
    appendLine(out, kHeaderLine);
    appendLine(out, kHeaderRule);
    choiceLine(Choice::Window);
    appendTagLine(out, "CONTROLS", options.controls ? "1" : "0");
    choiceLine(Choice::Zoom);
    choiceLine(Choice::ControlBar);
    choiceLine(Choice::Yaw);
    choiceLine(Choice::Pitch);
    choiceLine(Choice::Tilt);
    choiceLine(Choice::Audio);
    choiceLine(Choice::WinPosX);
    choiceLine(Choice::WinPosY);
    choiceLine(Choice::MouseSpeed);
    choiceLine(Choice::MaxFps);
    choiceLine(Choice::Qual);
    appendTagLine(out, "FULLSCREEN", options.fullScreen ? "1" : "0");
    appendTagLine(out, "HTMLBGCOLOR", colourText(options.htmlBgColor));
    appendTagLine(out, "HTMLTITLE", options.htmlTitle);
    appendTagLine(out, "STAT", options.stat ? "1" : "0");
    for (int i = 0; i < kSlotCount; ++i) {
        appendTagLine(out, iconTag(i), intText(options.hsIcons[static_cast<std::size_t>(i)]));
    }
    appendTagLine(out, "BORDER", intText(kBorderValue));
    appendLine(out, tagLine("VIEWMODE", options.viewMode == 0 ? "0" : "1") +
                        std::string(kViewModeComment));
    appendTagLine(out, "BLACKAREACOLOR", colourText(options.blackAreaColor));
    appendTagLine(out, "TOOLTIPHELP", intText(options.tooltipHelp));
    appendTagLine(out, "BALANCE", intText(kBalanceValue));
    appendTagLine(out, "ZOOMMAX", intText(options.zoomMax));
    appendTagLine(out, "LOADDIR", trimBlanks(options.loadDir));
    appendTagLine(out, "SAVEDIR", trimBlanks(options.saveDir));
}

std::string prepareContent(std::string_view fileBytes) {
    std::string joined;
    joined.reserve(fileBytes.size());
    for (std::size_t at = 0; at < fileBytes.size(); ++at) {
        joined += fileBytes[at];
        if (fileBytes[at] == '<' && at + 1 < fileBytes.size() && fileBytes[at + 1] == '/') {
            ++at; // drop the '/'
        }
    }
    return startsWithUtf8Marker(fileBytes) ? joined : cp1251ToUtf8(joined);
}

std::string_view tagValue(std::string_view prepared, std::string_view tag) {
    if (tag.empty()) {
        return {};
    }
    const std::size_t first = prepared.find(tag);
    if (first == std::string_view::npos) {
        return {};
    }
    const std::size_t start = first + tag.size();
    const std::size_t second = prepared.find(tag, start);
    return prepared.substr(start, second == std::string_view::npos ? std::string_view::npos
                                                                   : second - start);
}

void applyOptionsBlock(std::string_view prepared, PlayerOptions& options,
                       std::string_view currentDir) {
    // The reader's order; each value is independent of the others.
    applyChoice(prepared, options, Choice::Window);
    options.controls = switchOf(prepared, "CONTROLS");
    applyChoice(prepared, options, Choice::Zoom);
    applyChoice(prepared, options, Choice::ControlBar);
    applyChoice(prepared, options, Choice::Yaw);
    applyChoice(prepared, options, Choice::Pitch);
    applyChoice(prepared, options, Choice::Tilt);
    applyChoice(prepared, options, Choice::Audio);
    options.htmlBgColor = colourValue(tagValueOf(prepared, "HTMLBGCOLOR"));
    options.htmlTitle = std::string(trimBlanks(tagValueOf(prepared, "HTMLTITLE")));
    options.stat = switchOf(prepared, "STAT");
    for (int i = 0; i < kSlotCount; ++i) {
        options.hsIcons[static_cast<std::size_t>(i)] = integerOf(prepared, iconTag(i));
    }
    applyChoice(prepared, options, Choice::WinPosX);
    applyChoice(prepared, options, Choice::WinPosY);
    applyChoice(prepared, options, Choice::MouseSpeed);
    applyChoice(prepared, options, Choice::MaxFps);
    applyChoice(prepared, options, Choice::Qual);
    options.fullScreen = switchOf(prepared, "FULLSCREEN");
    options.viewMode = integerOf(prepared, "VIEWMODE") == 0 ? 0 : 1;
    options.blackAreaColor = colourValue(tagValueOf(prepared, "BLACKAREACOLOR"));
    options.tooltipHelp = integerOf(prepared, "TOOLTIPHELP");
    const std::int32_t zoomMax = integerOf(prepared, "ZOOMMAX");
    options.zoomMax = zoomMax > 0 ? zoomMax : kDefaultZoomMax;
    options.loadDir = folderOf(prepared, "LOADDIR", currentDir);
    options.saveDir = folderOf(prepared, "SAVEDIR", currentDir);
}

} // namespace qm
