#pragma once
// The command line's side of the media probe: loading it, and the findings
// printed as warnings by `new` and `publish`.

#include "media/ProbeModule.h"
#include "media/VideoCheck.h"

#include <filesystem>
#include <optional>
#include <ostream>
#include <string_view>
#include <vector>

namespace qm::cli {

// Loads the probe from where the window's module lies (beside the executable
// in a build, under lib/quillmark once installed).
media::LoadedProbe loadProbe();

// The probe; nullptr (with the reason printed as a
// warning for `command`) when it cannot be loaded.
const media::MediaProbe* loadProbeOrWarn(std::string_view command);

// Checks the videos and prints every finding as "COMMAND: LEVEL: PATH: text".
std::vector<media::VideoCheck> checkAndWarn(const media::MediaProbe& probe,
                                            const std::vector<std::filesystem::path>& videos,
                                            std::string_view command, std::ostream& out);

void printFinding(std::ostream& out, std::string_view command, const std::filesystem::path& video,
                  const media::Finding& finding);

} // namespace qm::cli
