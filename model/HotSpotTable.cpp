#include "model/HotSpotTable.h"

#include "model/Cp1251.h"
#include "model/PlayerOptions.h"
#include "model/TextForms.h"

#include <utility>

namespace qm {
namespace {

bool isSlot(int slot) {
    return slot >= 1 && slot <= kSlotCount;
}

bool isVideoNumber(int n) {
    return n >= 1 && n <= 3;
}

HotSpotItem cutToFields(HotSpotItem item) {
    item.link = cutToCp1251Bytes(item.link, kLinkBytes);
    item.title = cutToCp1251Bytes(item.title, kTitleBytes);
    return item;
}

} // namespace

std::string HotSpotItem::strippedLink() const {
    return std::string(trimBlanksAndNuls(link));
}

std::string HotSpotItem::strippedTitle() const {
    return std::string(trimBlanksAndNuls(title));
}

RefusalMessage refusalMessage(StoreRefusal refusal) {
    constexpr std::string_view kCaption = "Warning";
    switch (refusal) {
    case StoreRefusal::NoSuchSlot:
        return {kCaption, "There is no such Hot Spot slot: the slots are 1 to 10"};
    case StoreRefusal::EmptyLink:
        return {kCaption, "The link of Hot Spot is empty"};
    case StoreRefusal::ZeroPosition:
        return {kCaption, "Current Hot Spot position in movie stream cannot be - \"0\""};
    case StoreRefusal::NoTime:
        return {kCaption, "The time for shown a Hot Spot is not determined"};
    }
    return {kCaption, {}};
}

const HotSpotItem& HotSpotTable::record(int index) const {
    return isSlot(index) ? records_[static_cast<std::size_t>(index)] : records_[0];
}

std::optional<StoreRefusal> HotSpotTable::store(int slot, std::string_view link,
                                                std::string_view title, std::int32_t yaw,
                                                double position, std::string_view timeText,
                                                bool self) {
    // A slot outside the table would be dropped by put(): saying "stored"
    // then would be a lie.
    if (!isSlot(slot)) {
        return StoreRefusal::NoSuchSlot;
    }
    if (trimBlanks(link).empty()) {
        return StoreRefusal::EmptyLink;
    }
    if (!(position > 0.0)) {
        return StoreRefusal::ZeroPosition;
    }
    const double seconds = leadingNumber(timeText);
    // The project file keeps thousandths of a second; less would come back as 0.
    if (!(seconds > 0.0) || maskText(seconds, "0.000") == "0.000") {
        return StoreRefusal::NoTime;
    }
    put(slot,
        HotSpotItem{std::string(link), std::string(title), yaw, position, seconds, self ? 1 : 0});
    return std::nullopt;
}

void HotSpotTable::put(int slot, HotSpotItem item) {
    if (isSlot(slot)) {
        records_[static_cast<std::size_t>(slot)] = cutToFields(std::move(item));
    }
}

void HotSpotTable::remove(int slot) {
    if (isSlot(slot)) {
        records_[static_cast<std::size_t>(slot)] = records_[0];
    }
}

void HotSpotTable::removeAll() {
    records_.fill(HotSpotItem{});
}

bool HotSpotTable::inUse(int slot) const {
    return isSlot(slot) && record(slot).inUse();
}

int HotSpotTable::countInUse() const {
    int count = 0;
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        count += inUse(slot) ? 1 : 0;
    }
    return count;
}

const std::string& VideoPaths::path(int n) const {
    static const std::string kNoPath;
    return isVideoNumber(n) ? paths_[static_cast<std::size_t>(n - 1)] : kNoPath;
}

void VideoPaths::set(int n, std::string path) {
    if (isVideoNumber(n)) {
        paths_[static_cast<std::size_t>(n - 1)] = std::move(path);
    }
}

void VideoPaths::clearExtras() {
    set(2, {});
    set(3, {});
}

void VideoPaths::clearAll() {
    paths_.fill(std::string{});
}

} // namespace qm
