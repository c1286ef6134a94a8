#pragma once
// `quillmark set PROJECT.pp5 TAG VALUE [TAG VALUE ...]`: sets stored options of
// a project by their options-file tags and writes the project back.

#include "app/cli/CliCommand.h"
#include "model/PlayerOptions.h"

#include <optional>
#include <string>
#include <string_view>

namespace qm::cli {

CliCommand addSetCommand(CLI::App& app);

// Sets one stored option from its tag and value text, as the tag's kind and
// range in persist/OptionTags.h say: an item number for a list, 0 or 1 for a
// switch, six BBGGRR hex digits for a colour (as the file stores it), free
// text for the title and the folders, an icon code for HS_ICON0..HS_ICON9.
// Returns why the pair was refused, or nullopt when set.
std::optional<std::string> setStoredOption(PlayerOptions& options, std::string_view name,
                                           std::string_view value);

} // namespace qm::cli
