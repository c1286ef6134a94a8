#include "TestFiles.h"

#include <fstream>
#include <iterator>
#include <random>

namespace qm::test {

ScratchFolder::ScratchFolder() {
    std::random_device entropy;
    path_ = std::filesystem::temp_directory_path() /
            ("quillmark-test-" + std::to_string(entropy()) + std::to_string(entropy()));
    std::filesystem::create_directories(path_);
}

ScratchFolder::~ScratchFolder() {
    std::error_code ec;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(path_, ec);
}

std::string readBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeBytes(const std::filesystem::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string crlfLines(std::initializer_list<std::string_view> lines) {
    std::string text;
    for (const std::string_view line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

std::string defaultOptionsBlock() {
    return crlfLines({
        "Generatad by Quillmark, d'not edit!",
        "------------------------------------------------",
        "<WINDOW>3</WINDOW>",
        "<CONTROLS>1</CONTROLS>",
        "<ZOOM>9</ZOOM>",
        "<CONTROLBAR>1</CONTROLBAR>",
        "<YAW>1</YAW>",
        "<PITCH>1</PITCH>",
        "<TILT>1</TILT>",
        "<AUDIO>6</AUDIO>",
        "<WIN_POS_X>1</WIN_POS_X>",
        "<WIN_POS_Y>1</WIN_POS_Y>",
        "<MOUSESPEED>1</MOUSESPEED>",
        "<MAXFPS>1</MAXFPS>",
        "<QUAL>1</QUAL>",
        "<FULLSCREEN>0</FULLSCREEN>",
        "<HTMLBGCOLOR>000000</HTMLBGCOLOR>",
        "<HTMLTITLE></HTMLTITLE>",
        "<STAT>0</STAT>",
        "<HS_ICON0>0</HS_ICON0>",
        "<HS_ICON1>0</HS_ICON1>",
        "<HS_ICON2>0</HS_ICON2>",
        "<HS_ICON3>0</HS_ICON3>",
        "<HS_ICON4>0</HS_ICON4>",
        "<HS_ICON5>0</HS_ICON5>",
        "<HS_ICON6>0</HS_ICON6>",
        "<HS_ICON7>0</HS_ICON7>",
        "<HS_ICON8>0</HS_ICON8>",
        "<HS_ICON9>0</HS_ICON9>",
        "<BORDER>0</BORDER>",
        "<VIEWMODE>0</VIEWMODE>  //   0 - classic, 1 - black areas",
        "<BLACKAREACOLOR>000000</BLACKAREACOLOR>",
        "<TOOLTIPHELP>1</TOOLTIPHELP>",
        "<BALANCE>1</BALANCE>",
        "<ZOOMMAX>130</ZOOMMAX>",
        "<LOADDIR>/videos</LOADDIR>",
        "<SAVEDIR>/start</SAVEDIR>",
    });
}

} // namespace qm::test
