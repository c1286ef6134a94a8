#pragma once
// The options block of a tool started in /start without an options file,
// after choosing /videos/tour.mp4: every line written out.

#include "TestFiles.h"

#include <string>

namespace qm::test {

inline std::string defaultOptionsBlock() {
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
