#include "publish/PlayerPageBuilder.h"

#include "model/TextForms.h"
#include "publish/PackageLayout.h"
#include "publish/Payloads.h"
#include "publish/WebText.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <utility>

namespace qm {
namespace {

using TypeEntry = std::pair<std::string_view, std::string_view>;
constexpr std::array<TypeEntry, 7> kTypeTexts = {{
    {".WEBM", " type='video/webm'/>"},
    {".OGG", " type='video/ogg'/>"},
    {".OGV", " type='video/ogv'/>"},
    {".MP4", " type='video/mp4'/>"},
    {".MOV", " type='video/quicktime'/>"},
    {".QT", " type='video/quicktime'/>"},
    {".M4V", " type='video/mp4'/>"},
}};

constexpr std::string_view kMp4TypeText = " type='video/mp4'/>";

std::string upperAscii(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return out;
}

std::string sourceLine(std::string_view name, std::string_view type) {
    return "<SOURCE src=\"" + htmlEscaped(urlFileName(name)) + "\"" + std::string(type);
}

} // namespace

std::optional<std::string_view> PlayerPageBuilder::typeText(std::string_view fileName) {
    const std::size_t dot = fileName.rfind('.');
    if (dot == std::string_view::npos) {
        return std::nullopt;
    }
    const std::string extension = upperAscii(fileName.substr(dot));
    for (const auto& [known, type] : kTypeTexts) {
        if (extension == known) {
            return type;
        }
    }
    return std::nullopt;
}

std::string PlayerPageBuilder::fileName(std::string_view path) {
    return std::filesystem::path(path).filename().string();
}

std::variant<std::string, UnsupportedVideo>
PlayerPageBuilder::buildSourceList(const VideoPaths& videos,
                                   const std::array<bool, 3>& servedAsMp4) {
    std::string list;
    for (int number = 1; number <= 3; ++number) {
        const std::string& path = videos.path(number);
        if (!path.empty()) {
            const std::string name = fileName(path);
            const std::optional<std::string_view> type = typeText(name);
            if (!type) {
                return UnsupportedVideo{number, path};
            }
            const bool asMp4 = servedAsMp4[static_cast<std::size_t>(number - 1)];
            list += sourceLine(name, asMp4 ? kMp4TypeText : *type);
        }
        list += "\r\n";
    }
    return list;
}

std::string PlayerPageBuilder::fill(std::string_view pageTemplate, const PlayerPageFields& fields) {
    const std::array<std::pair<std::string_view, std::string>, 4> replacements = {{
        {kSourcePlaceholder, fields.sourceList},
        {kMutedPlaceholder,
         fields.muted ? std::string(kMutedPlaceholder) + " muted" : std::string(kMutedPlaceholder)},
        {kTitlePlaceholder, htmlEscaped(fields.title)},
        {kColourPlaceholder, "bgcolor='#" + hexColourText(fields.pageColour) + "' "},
    }};
    // One pass over the template: inserted text is never searched again, so a
    // title that holds a placeholder's text stays as typed.
    std::string out;
    out.reserve(pageTemplate.size() + fields.sourceList.size() + fields.title.size() * 2);
    std::size_t i = 0;
    while (i < pageTemplate.size()) {
        const auto hit =
            std::find_if(replacements.begin(), replacements.end(), [&](const auto& entry) {
                return pageTemplate.substr(i, entry.first.size()) == entry.first;
            });
        if (hit != replacements.end()) {
            out += hit->second;
            i += hit->first.size();
        } else {
            out += pageTemplate[i];
            ++i;
        }
    }
    return out;
}

FileResult PlayerPageBuilder::write(const std::filesystem::path& outputFolder,
                                    const PlayerPageFields& fields) {
    const PackagePayload& page = onlyPayload(PayloadRole::Page);
    return writeFileAtomically(outputFolder / page.path, fill(payloadText(page.number), fields));
}

} // namespace qm
