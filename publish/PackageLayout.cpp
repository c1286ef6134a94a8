#include "publish/PackageLayout.h"

#include <algorithm>
#include <exception>

namespace qm {
namespace {

template <class Match> const PackagePayload* firstPayload(Match match) {
    const std::span<const PackagePayload> all = packagePayloads();
    const auto found = std::find_if(all.begin(), all.end(), match);
    return found == all.end() ? nullptr : &*found;
}

} // namespace

const PackagePayload& onlyPayload(PayloadRole role) {
    const PackagePayload* const found =
        firstPayload([role](const PackagePayload& entry) { return entry.role == role; });
    if (found == nullptr) {
        std::terminate(); // the build checked that the list holds it
    }
    return *found;
}

int iconPayloadNumber(std::int32_t iconCode) {
    const PackagePayload* const own = firstPayload([iconCode](const PackagePayload& entry) {
        return entry.role == PayloadRole::Icon && entry.number == iconCode;
    });
    return own != nullptr ? own->number : onlyPayload(PayloadRole::Icon).number;
}

} // namespace qm
