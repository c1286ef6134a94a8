#pragma once
// The block of 37 tag lines that is the whole options file and the head of
// every project file, and the tag search both files are read with.
//
// Files are Windows-1251 bytes with CR LF line ends while every text fits that
// code page; a file holding text it cannot hold is UTF-8 and starts with the
// marker line, which readers that know only tags pass over like the header.
// In memory all text is UTF-8. Writers produce file bytes; readers first turn
// file bytes into a prepared UTF-8 content (prepareContent) and search that.

#include "model/PlayerOptions.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qm {

inline constexpr std::string_view kUtf8MarkerLine = "Encoding: UTF-8";

// File bytes, with the tags of the fields (in line order, each tag once)
// whose text Windows-1251 cannot hold, which made the file UTF-8, and of
// those whose text holds tag text ("</", "<HSPOS1>"), which a reader takes
// for tags, so that the value reads back otherwise.
struct EncodedText {
    std::string bytes;
    std::vector<std::string> utf8Fields;
    std::vector<std::string> tagTextFields;
    bool isUtf8() const { return !utf8Fields.empty(); }
};

inline constexpr std::string_view kLineEnd = "\r\n";

// Appends one line (text + CR LF); `field` names the value in utf8Fields and
// tagTextFields. The first line that Windows-1251 cannot hold turns the whole
// text into UTF-8 behind the marker line.
void appendLine(EncodedText& out, std::string_view utf8Line, std::string_view field = {});

// The first piece of the value that a reader would take for tag text: "</"
// or a tag-shaped "<NAME>" (upper-case letters, digits, '_'); nullopt when
// the value reads back as written.
std::optional<std::string> tagTextIn(std::string_view value);

// Appends lines 1 to 37 of the options block for the options as they stand.
void writeOptionsBlock(EncodedText& out, const PlayerOptions& options);

// File bytes -> searchable UTF-8 content: every "</" becomes "<", so each value
// stands between two copies of its opening tag. Windows-1251 bytes are
// converted; a file that starts with the marker line is taken as UTF-8.
std::string prepareContent(std::string_view fileBytes);

// The text between the first and the second occurrence of the whole tag
// (e.g. "<WINDOW>", exact and case-sensitive); to the end when the tag occurs
// once; empty when it does not occur.
std::string_view tagValue(std::string_view prepared, std::string_view tag);

// Applies the 35 option tags (persist/OptionTags.h) of a prepared content
// with the reader's rules: a missing tag gives the value its empty text reads
// as (no list selection, switch clear, colour black, title empty, icon 0,
// tooltips off, ZOOMMAX 130, folder = currentDir). BORDER and BALANCE are
// dropped. Transient settings are not touched.
void applyOptionsBlock(std::string_view prepared, PlayerOptions& options,
                       std::string_view currentDir);

} // namespace qm
