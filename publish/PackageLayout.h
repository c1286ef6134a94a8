#pragma once
// Where each payload lands in the package, in the order publishing writes it.
// The build generates the list from resources/payloads.txt, the one place
// that names the payloads.

#include <cstdint>
#include <span>
#include <string_view>

namespace qm {

enum class PayloadRole {
    Page,         // the player page's template
    Script,       // js/ and its subfolders
    Icon,         // drawn for the hot spots with the icon code of its number
    Image,        // images/ besides the hot spot icons
    StartPicture, // shown in the presentation page before the player loads
};

struct PackagePayload {
    int number;
    PayloadRole role;
    std::string_view path; // relative to the output folder, '/' separated; empty for icons
};

// Every payload of the package, in the order of the list.
std::span<const PackagePayload> packagePayloads();

// The payload of a role the package holds once: the page template, the start
// picture (the build refuses a list without exactly one of each).
const PackagePayload& onlyPayload(PayloadRole role);

// The payload drawn for an icon code. Codes with no icon of their own (a
// damaged project file) fall back to the first icon rather than an empty picture.
int iconPayloadNumber(std::int32_t iconCode);

} // namespace qm
