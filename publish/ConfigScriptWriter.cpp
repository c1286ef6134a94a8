#include "publish/ConfigScriptWriter.h"

#include "model/TextForms.h"
#include "publish/WebText.h"

#include <string_view>

namespace qm {
namespace {

constexpr std::string_view kEol = "\r\n";

class LineBuilder {
  public:
    void line(std::string_view text) {
        text_ += text;
        text_ += kEol;
    }
    void line(std::string_view before, std::string_view value, std::string_view after) {
        text_ += before;
        text_ += value;
        text_ += after;
        text_ += kEol;
    }
    std::string take() { return std::move(text_); }

  private:
    std::string text_;
};

std::string_view flag(bool set) {
    return set ? "1" : "0";
}

std::string doubleQuoted(std::string_view value) {
    return "\"" + std::string(value) + "\"";
}

void writeOptionLines(LineBuilder& out, const PublishedOptions& o, int hotSpotCount) {
    out.line("   var fov = ", o.zoomText, ";");
    out.line("   var OS_FPS = ", numberText(o.maxFps), ";");
    out.line("   var nSegmentsWidth = ", numberText(o.segments), "; ");
    out.line("   var nSegmentsHeight = ", numberText(o.segments), "; ");
    out.line("   var vertmax = ", numberText(o.vertMax), ";");
    out.line("   var lon = ", numberText(o.yaw), ";");
    out.line("   var lat = ", numberText(o.pitch), ";");
    out.line("   var RENDER_X = ", o.renderX, ";");
    out.line("   var RENDER_Y = ", o.renderY, ";");
    out.line("   var OS_VOLUME  = ", o.volumeText, ";");
    out.line("   var OS_STAT  = ", flag(o.stat), ";");
    out.line("   var OS_MODE  = ", flag(o.viewMode != 0), "; ");
    out.line("   var OS_COLOR = '#", hexColourText(o.blackAreaColor), "';");
    out.line("   var mousespeed = ", maskText(o.mouseSpeed, "0.000"), "; ");
    out.line("   var control_bar = ", flag(o.controls), "; ");
    out.line("   var OS_CONTROL = 0; ");
    out.line("   var OS_WIN_POS_W = ", doubleQuoted(o.winPosX), ";");
    out.line("   var OS_WIN_POS_H = ", doubleQuoted(o.winPosY), ";");
    out.line("   var OS_FULL_SCREEN = ", flag(o.fullScreen), "; ");
    out.line("   var OS_SP2 = 1;");
    out.line(o.lockFullScreen ? "   var OS_BLOCK_FULL_SCREEN = 1;"
                              : "   var OS_BLOCK_FULL_SCREEN = 0;");
    out.line("   if (OS_FULL_SCREEN == 1){");
    out.line("       RENDER_X = window.innerWidth;");
    out.line("       RENDER_Y = window.innerHeight;");
    out.line("       posY = 46;");
    out.line("   };");
    out.line("   if (RENDER_X < 550){");
    out.line("            OS_CONTROL = 1;");
    out.line("   };");
    out.line("   var OS_HOTSPOTS = ", numberText(hotSpotCount), ";");
}

void writeUsedSlot(LineBuilder& out, const std::string& index, const HotSpotItem& item) {
    const std::string link = item.strippedLink();
    std::string title = item.strippedTitle();
    if (title.empty()) {
        title = link; // the player always has a caption
    }
    out.line("HotSpotItem_pos[" + index, "]   = " + numberText(item.pos), ";");
    out.line("HotSpotItem_time[" + index, "]  = " + numberText(item.time), ";");
    out.line("HotSpotItem_yaw[" + index,
             "]   = " + std::to_string(ConfigScriptWriter::publishedYaw(item.yaw)), ";");
    out.line("HotSpotItem_title[" + index, "] = \"" + jsStringContent(title), "\";");
    out.line("HotSpotItem_link[" + index, "]  = \"" + jsStringContent(link), "\";");
    out.line("HotSpotItem_self[" + index, item.self != 0 ? "]  = true" : "]  = false", ";");
}

void writeEmptySlot(LineBuilder& out, const std::string& index) {
    out.line("HotSpotItem_pos[" + index + "]   = 0;");
    out.line("HotSpotItem_time[" + index + "]  = 0;");
    out.line("HotSpotItem_yaw[" + index + "]   = 0;");
    out.line("HotSpotItem_title[" + index + "] = \"\";");
    out.line("HotSpotItem_link[" + index + "]  = \"\";");
    out.line("HotSpotItem_self[" + index + "]  = false;");
}

} // namespace

int ConfigScriptWriter::publishedYaw(int storedYaw) {
    return storedYaw >= 0 ? storedYaw - 180 : storedYaw + 180;
}

std::string ConfigScriptWriter::scriptText(const PublishedOptions& options,
                                           const HotSpotTable& hotSpots) {
    LineBuilder out;
    writeOptionLines(out, options, hotSpots.countInUse());
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        const std::string index = numberText(slot - 1);
        const HotSpotItem& item = hotSpots.record(slot);
        if (item.inUse()) {
            writeUsedSlot(out, index, item);
        } else {
            writeEmptySlot(out, index);
        }
    }
    return out.take();
}

std::filesystem::path ConfigScriptWriter::scriptPath(const std::filesystem::path& outputFolder) {
    return outputFolder / "js" / "ctr" / "cn0.js";
}

} // namespace qm
