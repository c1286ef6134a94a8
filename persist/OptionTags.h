#pragma once
// The 35 option tags of the options block, in the order the block writes them:
// each with its kind, the values `quillmark set` accepts, its default and where
// PlayerOptions keeps it. The block's writer and reader, `quillmark set` and
// `quillmark info` all go by this one table, so a tag is named once.

#include "model/PlayerOptions.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <variant>

namespace qm {

// How a tag's value is stored, read back and accepted.
enum class OptionKind {
    List,     // item number of a drop-down list; out of range reads as no selection
    Switch,   // 1 on; any other number reads as off
    ViewMode, // 0 "Classic"; any other number reads as 1 "Black Areas"
    Colour,   // six hex digits BBGGRR, always read as hexadecimal
    Title,    // one line of text; blanks at both ends dropped when read
    Folder,   // one line of text, written and read without blanks at its ends;
              // empty reads as the current folder
    Icon,     // icon code 200..234, 0 none chosen; any number kept as stored
    Toggle,   // 1 on, any other number off; the number kept as stored
    Bound,    // a positive number; anything else reads as the default
    Fixed,    // no option behind it: the default is always written, a value read is dropped
};

// A number (lists, switches, colours, codes) or a text (title, folders).
using OptionValue = std::variant<std::int64_t, std::string>;

// Reads and sets one option of PlayerOptions; a list's value goes through
// setItem, so an item number out of range leaves the list with no selection.
struct OptionAccess {
    OptionValue (*get)(const PlayerOptions&) = nullptr;
    void (*set)(PlayerOptions&, const OptionValue&) = nullptr;
};

struct OptionTag {
    std::string_view name; // "WINDOW": the tag without its angle brackets
    OptionKind kind;
    std::int64_t low = 0; // the numbers `set` accepts (an icon code may also be 0)
    std::int64_t high = 0;
    std::int64_t defaultValue = 0;  // a fresh project's number
    OptionAccess access;            // none for Fixed
    Choice choice = Choice::Window; // the drop-down list of a List tag

    std::int64_t number(const PlayerOptions& options) const;
    std::string text(const PlayerOptions& options) const;
    void setNumber(PlayerOptions& options, std::int64_t value) const;
    void setText(PlayerOptions& options, std::string value) const;
};

// Every tag in the block's order.
std::span<const OptionTag> optionTags();

// The tag of that name (exact and case-sensitive); nullptr when there is none.
const OptionTag* findOptionTag(std::string_view name);

} // namespace qm
