#include "publish/Payloads.h"

#include <algorithm>

namespace qm {
namespace {

const detail::EmbeddedPayload* find(int number) {
    const std::span<const detail::EmbeddedPayload> all = detail::embeddedPayloads();
    const auto hit = std::find_if(all.begin(), all.end(),
                                  [number](const auto& entry) { return entry.number == number; });
    return hit == all.end() ? nullptr : &*hit;
}

} // namespace

std::span<const std::byte> payload(int number) {
    const detail::EmbeddedPayload* entry = find(number);
    if (entry == nullptr) {
        return {};
    }
    return {reinterpret_cast<const std::byte*>(entry->begin),
            static_cast<std::size_t>(entry->end - entry->begin)};
}

std::string_view payloadText(int number) {
    const std::span<const std::byte> bytes = payload(number);
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

bool hasPayload(int number) {
    return find(number) != nullptr;
}

std::vector<int> payloadNumbers() {
    std::vector<int> numbers;
    for (const detail::EmbeddedPayload& entry : detail::embeddedPayloads()) {
        numbers.push_back(entry.number);
    }
    std::sort(numbers.begin(), numbers.end());
    return numbers;
}

} // namespace qm
