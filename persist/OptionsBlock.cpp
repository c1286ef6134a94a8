#include "persist/OptionsBlock.h"

#include "model/Cp1251.h"
#include "model/TextForms.h"
#include "persist/OptionTags.h"

#include <algorithm>
#include <cmath>

namespace qm {
namespace {

constexpr std::string_view kHeaderLine = "Generatad by Quillmark, d'not edit!";
constexpr std::string_view kHeaderRule = "------------------------------------------------";
constexpr std::string_view kViewModeComment = "  //   0 - classic, 1 - black areas";

std::string openTag(std::string_view name) {
    return "<" + std::string(name) + ">";
}

std::string tagLine(std::string_view name, std::string_view value) {
    return openTag(name) + std::string(value) + "</" + std::string(name) + ">";
}

// Colours are stored as their six hexadecimal digits; reading them through
// "&h00" keeps them from ever being taken as decimal.
std::uint32_t colourValue(std::string_view value) {
    const double number = numberValue("&h00" + std::string(value));
    return static_cast<std::uint32_t>(std::fmod(number, 16777216.0));
}

// The value text the block holds for one tag.
std::string valueText(const OptionTag& tag, const PlayerOptions& options) {
    switch (tag.kind) {
    case OptionKind::Colour:
        return colourText(static_cast<std::uint32_t>(tag.number(options)));
    case OptionKind::Title:
        return tag.text(options);
    case OptionKind::Folder:
        return std::string(trimBlanks(tag.text(options)));
    case OptionKind::ViewMode:
        return tag.number(options) == 0 ? "0" : "1";
    case OptionKind::List:
    case OptionKind::Switch:
    case OptionKind::Icon:
    case OptionKind::Toggle:
    case OptionKind::Bound:
    case OptionKind::Fixed:
        break;
    }
    return numberText(static_cast<double>(tag.number(options)));
}

// Sets one option from the text its tag carries, by the reader's rule for its kind.
void applyTag(const OptionTag& tag, std::string_view value, PlayerOptions& options,
              std::string_view currentDir) {
    switch (tag.kind) {
    case OptionKind::Switch:
        tag.setNumber(options, integerValue(value) == 1 ? 1 : 0);
        return;
    case OptionKind::ViewMode:
        tag.setNumber(options, integerValue(value) == 0 ? 0 : 1);
        return;
    case OptionKind::Colour:
        tag.setNumber(options, colourValue(value));
        return;
    case OptionKind::Title:
        tag.setText(options, std::string(trimBlanks(value)));
        return;
    case OptionKind::Folder: {
        const std::string_view folder = trimBlanks(value);
        tag.setText(options, std::string(folder.empty() ? currentDir : folder));
        return;
    }
    case OptionKind::Bound: {
        const std::int32_t number = integerValue(value);
        tag.setNumber(options, number > 0 ? number : tag.defaultValue);
        return;
    }
    case OptionKind::Fixed:
        return;
    case OptionKind::List: // setItem leaves a list with no selection when out of range
    case OptionKind::Icon:
    case OptionKind::Toggle:
        tag.setNumber(options, integerValue(value));
        return;
    }
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
    appendLine(out, kHeaderLine);
    appendLine(out, kHeaderRule);
    for (const OptionTag& tag : optionTags()) {
        std::string line = tagLine(tag.name, valueText(tag, options));
        if (tag.kind == OptionKind::ViewMode) {
            line += kViewModeComment;
        }
        appendLine(out, line, tag.name);
    }
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
    // Each value is independent of the others, so the block's order serves.
    for (const OptionTag& tag : optionTags()) {
        applyTag(tag, tagValue(prepared, openTag(tag.name)), options, currentDir);
    }
}

} // namespace qm
