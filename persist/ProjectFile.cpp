#include "persist/ProjectFile.h"

#include "model/TextForms.h"

#include <algorithm>
#include <cctype>

namespace qm {
namespace {

constexpr std::string_view kSectionRule = "-----------------------------------------------";
constexpr int kVideoCount = 3;

std::string numbered(std::string_view prefix, int n) {
    return std::string(prefix) + numberText(n);
}

std::string tagLine(const std::string& name, std::string_view value) {
    return "<" + name + ">" + std::string(value) + "</" + name + ">";
}

void appendTagLine(EncodedText& out, const std::string& name, std::string_view value) {
    appendLine(out, tagLine(name, value), name);
}

std::string_view valueOf(std::string_view prepared, const std::string& name) {
    return tagValue(prepared, "<" + name + ">");
}

void writeHotSpot(EncodedText& out, int slot, const HotSpotItem& item) {
    appendTagLine(out, numbered("HSLINK", slot), trimBlanksAndNuls(item.link));
    appendTagLine(out, numbered("HSTITLE", slot), trimBlanksAndNuls(item.title));
    appendTagLine(out, numbered("HSPOS", slot), numberText(item.pos));
    appendTagLine(out, numbered("HSYAW", slot), maskText(item.yaw, "#####.000"));
    appendTagLine(out, numbered("HSTIME", slot), maskText(item.time, "#####.000"));
    appendTagLine(out, numbered("HSSELF", slot), numberText(item.self));
}

HotSpotItem readHotSpot(std::string_view prepared, int slot) {
    HotSpotItem item;
    item.link = std::string(trimBlanks(valueOf(prepared, numbered("HSLINK", slot))));
    item.title = std::string(trimBlanks(valueOf(prepared, numbered("HSTITLE", slot))));
    item.pos = numberValue(valueOf(prepared, numbered("HSPOS", slot)));
    item.yaw = integerValue(valueOf(prepared, numbered("HSYAW", slot)));
    item.time = numberValue(valueOf(prepared, numbered("HSTIME", slot)));
    item.self = integerValue(valueOf(prepared, numbered("HSSELF", slot)));
    return item;
}

bool endsWithIgnoringCase(std::string_view text, std::string_view suffix) {
    if (text.size() < suffix.size()) {
        return false;
    }
    return std::equal(suffix.begin(), suffix.end(), text.end() - static_cast<long>(suffix.size()),
                      [](char a, char b) {
                          return std::tolower(static_cast<unsigned char>(a)) ==
                                 std::tolower(static_cast<unsigned char>(b));
                      });
}

} // namespace

std::string withProjectExtension(std::string_view typedName) {
    std::string name(trimBlanks(typedName));
    if (!endsWithIgnoringCase(name, kProjectExtension)) {
        name += kProjectExtension;
    }
    return name;
}

EncodedText projectFileText(const Project& project) {
    EncodedText out;
    writeOptionsBlock(out, project.options);
    appendLine(out, kSectionRule);
    for (int n = 1; n <= kVideoCount; ++n) {
        appendTagLine(out, numbered("VIDEO", n), trimBlanks(project.videos.path(n)));
    }
    appendLine(out, kSectionRule);
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        writeHotSpot(out, slot, project.hotSpots.record(slot));
    }
    return out;
}

ProjectWriteResult writeProjectFile(const std::filesystem::path& path, const Project& project) {
    EncodedText text = projectFileText(project);
    return {writeFileDurably(path, text.bytes), std::move(text.tagTextFields)};
}

std::string applyProjectContent(std::string_view prepared, Project& project,
                                std::string_view currentDir) {
    applyOptionsBlock(prepared, project.options, currentDir);
    for (int n = 1; n <= kVideoCount; ++n) {
        project.videos.set(n, std::string(trimBlanks(valueOf(prepared, numbered("VIDEO", n)))));
    }
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        project.hotSpots.put(slot, readHotSpot(prepared, slot));
    }
    return project.videos.path(1);
}

ProjectReadResult readProjectFile(const std::filesystem::path& path, Project& project,
                                  std::string_view currentDir) {
    FileRead read = readWholeFile(path);
    if (!read.ok()) {
        return {false, std::move(read.error), {}};
    }
    std::string video = applyProjectContent(prepareContent(read.bytes), project, currentDir);
    return {true, std::nullopt, std::move(video)};
}

} // namespace qm
