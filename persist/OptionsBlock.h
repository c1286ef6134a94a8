#pragma once
// The block of 37 tag lines that is the whole options file and the head of
// every project file, and the tag search both files are read with.
//
// Files are Windows-1251 bytes with CR LF line ends; in memory all text is
// UTF-8. Writers produce file bytes; readers first turn file bytes into a
// prepared UTF-8 content (prepareContent) and search that.

#include "model/PlayerOptions.h"

#include <string>
#include <string_view>
#include <vector>

namespace qm {

// File bytes, plus the tags of the fields whose text held characters that
// Windows-1251 cannot hold (each written as '?'), in line order, each tag once.
struct EncodedText {
    std::string bytes;
    std::vector<std::string> lossyFields;
    bool lossless() const { return lossyFields.empty(); }
};

inline constexpr std::string_view kLineEnd = "\r\n";

// Appends one line (text + CR LF) in Windows-1251; `field` names the value in
// lossyFields when the text does not fit the code page.
void appendLine(EncodedText& out, std::string_view utf8Line, std::string_view field = {});

// Appends lines 1 to 37 of the options block for the options as they stand.
void writeOptionsBlock(EncodedText& out, const PlayerOptions& options);

// File bytes -> searchable UTF-8 content: every "</" becomes "<", so each value
// stands between two copies of its opening tag.
std::string prepareContent(std::string_view fileBytes);

// The text between the first and the second occurrence of the whole tag
// (e.g. "<WINDOW>", exact and case-sensitive); to the end when the tag occurs
// once; empty when it does not occur.
std::string_view tagValue(std::string_view prepared, std::string_view tag);

// Applies the 35 option tags of a prepared content with the reader's rules:
// a missing tag gives the value its empty text reads as (no list selection,
// switch clear, colour black, title empty, icon 0, tooltips off, ZOOMMAX 130,
// folder = currentDir). BORDER and BALANCE are dropped. Transient settings
// are not touched.
void applyOptionsBlock(std::string_view prepared, PlayerOptions& options,
                       std::string_view currentDir);

} // namespace qm
