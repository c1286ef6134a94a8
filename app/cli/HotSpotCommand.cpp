#include "app/cli/HotSpotCommand.h"

#include "app/cli/ProjectEdit.h"
#include "model/HotSpotTable.h"

#include <cmath>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace qm::cli {
namespace {

// The yaw slider's range.
constexpr int kLowestYaw = -179;
constexpr int kHighestYaw = 180;
constexpr std::int32_t kLastIconCode = kFirstIconCode + kIconCount - 1;

struct HotSpotArgs {
    std::string project;
    int slot = 0;
    int yaw = 0;
    double pos = 0.0;
    std::string time;
    std::string link;
    std::string title;
    bool self = false;
    std::int32_t icon = 0; // used when --icon is given
    bool setIcon = false;
    bool remove = false;
};

// A text longer than its field is stored cut; the user is told what was kept.
void warnIfCut(std::string_view option, std::string_view given, const std::string& stored,
               std::size_t limit) {
    if (stored != given) {
        std::fprintf(stderr,
                     "quillmark hotspot: %s is longer than %zu characters; stored as \"%s\"\n",
                     std::string(option).c_str(), limit, stored.c_str());
    }
}

int storeHotSpot(const HotSpotArgs& args, Project& project) {
    const std::optional<StoreRefusal> refusal = project.hotSpots.store(
        args.slot, args.link, args.title, args.yaw, args.pos, args.time, args.self);
    if (refusal) {
        std::fprintf(stderr, "%s\n", std::string(refusalMessage(*refusal).text).c_str());
        return kStopped;
    }
    const HotSpotItem& stored = project.hotSpots.record(args.slot);
    warnIfCut("--link", args.link, stored.link, kLinkBytes);
    warnIfCut("--title", args.title, stored.title, kTitleBytes);
    if (args.setIcon) {
        project.options.hsIcons[static_cast<std::size_t>(args.slot - 1)] = args.icon;
    }
    return kOk;
}

int editHotSpot(const HotSpotArgs& args) {
    return editProject("hotspot", args.project, [&args](Project& project) {
        if (args.remove) {
            // The icon code belongs to the slot and stays.
            project.hotSpots.remove(args.slot);
            return int{kOk};
        }
        return storeHotSpot(args, project);
    });
}

} // namespace

CliCommand addHotSpotCommand(CLI::App& app) {
    auto args = std::make_shared<HotSpotArgs>();
    CLI::App* node = app.add_subcommand(
        "hotspot", "Store a hot spot into a slot of a project (as \"Добавить HS\" does), or "
                   "empty the slot with --delete.");
    node->add_option("PROJECT", args->project, "Project file (.pp5)")->required();
    node->add_option("SLOT", args->slot, "Slot number")
        ->required()
        ->check(CLI::Range(1, kSlotCount));
    CLI::Option* yaw = node->add_option("--yaw", args->yaw, "Horizontal angle in whole degrees")
                           ->check(CLI::Range(kLowestYaw, kHighestYaw));
    // A position of 0 or less is the store's own refusal, not a usage error.
    CLI::Option* pos =
        node->add_option("--pos", args->pos, "Movie position in seconds where it appears");
    CLI::Option* time =
        node->add_option("--time", args->time, "How long it is shown, in seconds, as typed");
    CLI::Option* link = node->add_option("--link", args->link, "Address it leads to");
    CLI::Option* title = node->add_option("--title", args->title, "Caption (may be empty)");
    CLI::Option* self = node->add_flag("--self", args->self, "Open the link in the same window");
    CLI::Option* icon =
        node->add_option("--icon", args->icon, "Icon code of the slot")
            ->check(CLI::IsMember(std::vector<int>{0}) | CLI::Range(kFirstIconCode, kLastIconCode));
    CLI::Option* remove = node->add_flag("--delete", args->remove, "Empty the slot");
    for (CLI::Option* storeOption : {yaw, pos, time, link, title, self, icon}) {
        remove->excludes(storeOption);
    }
    node->footer("Exit codes: 0 written, 1 refused as the editor refuses (empty link, position 0, "
                 "no time or less than a thousandth of a second; nothing is written), 2 usage "
                 "(also a link or title holding tag text such as \"</\"), 3 the project could not "
                 "be read or written. A link longer than 512 or a title longer than 40 characters "
                 "is stored cut, with a warning.");
    return {node, [args, yaw, pos, time, link, icon] {
                if (!args->remove && (yaw->count() == 0 || pos->count() == 0 ||
                                      time->count() == 0 || link->count() == 0)) {
                    std::fprintf(stderr, "quillmark hotspot: storing needs --yaw, --pos, --time "
                                         "and --link (or --delete)\n");
                    return int{kUsage};
                }
                if (!std::isfinite(args->pos)) {
                    std::fprintf(stderr, "quillmark hotspot: --pos must be a finite number\n");
                    return int{kUsage};
                }
                for (const auto& [option, text] :
                     {std::pair{"--link", &args->link}, std::pair{"--title", &args->title}}) {
                    if (const std::optional<std::string> refusal = tagTextRefusal(option, *text)) {
                        std::fprintf(stderr, "quillmark hotspot: %s\n", refusal->c_str());
                        return int{kUsage};
                    }
                }
                args->setIcon = icon->count() > 0;
                return editHotSpot(*args);
            }};
}

} // namespace qm::cli
