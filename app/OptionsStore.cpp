#include "app/OptionsStore.h"

#include <utility>

namespace qm::app {

OptionsStore::OptionsStore(Project initial, QObject* parent)
    : QObject(parent), project_(std::move(initial)) {}

void OptionsStore::changeOptions(const std::function<void(PlayerOptions&)>& change) {
    PlayerOptions changed = project_.options;
    change(changed);
    setOptions(std::move(changed));
}

void OptionsStore::setOptions(PlayerOptions options) {
    if (options == project_.options) {
        return;
    }
    project_.options = std::move(options);
    emit optionsChanged();
}

void OptionsStore::setVideo(int n, std::string path) {
    if (project_.videos.path(n) == path) {
        return;
    }
    project_.videos.set(n, std::move(path));
    emit videosChanged();
}

void OptionsStore::clearExtraVideos() {
    const VideoPaths before = project_.videos;
    project_.videos.clearExtras();
    if (!(before == project_.videos)) {
        emit videosChanged();
    }
}

void OptionsStore::clearAllVideos() {
    const VideoPaths before = project_.videos;
    project_.videos.clearAll();
    if (!(before == project_.videos)) {
        emit videosChanged();
    }
}

void OptionsStore::setProject(Project project) {
    project_ = std::move(project);
    setHotSpotsUnsaved(false);
    emit optionsChanged();
    emit videosChanged();
}

std::optional<StoreRefusal> OptionsStore::storeHotSpot(int slot, std::string_view link,
                                                       std::string_view title, std::int32_t yaw,
                                                       double position, std::string_view timeText,
                                                       bool self) {
    HotSpotTable changed = project_.hotSpots;
    const std::optional<StoreRefusal> refusal =
        changed.store(slot, link, title, yaw, position, timeText, self);
    if (!refusal) {
        changeHotSpots([&](HotSpotTable& table) { table = std::move(changed); });
    }
    return refusal;
}

void OptionsStore::removeHotSpot(int slot) {
    changeHotSpots([slot](HotSpotTable& table) { table.remove(slot); });
}

void OptionsStore::removeAllHotSpots() {
    changeHotSpots([](HotSpotTable& table) { table.removeAll(); });
}

void OptionsStore::setIconCode(int slot, std::int32_t code) {
    if (slot < 1 || slot > kSlotCount) {
        return;
    }
    changeOptions([&](PlayerOptions& options) {
        options.hsIcons[static_cast<std::size_t>(slot - 1)] = code;
    });
}

void OptionsStore::changeHotSpots(const std::function<void(HotSpotTable&)>& change) {
    HotSpotTable changed = project_.hotSpots;
    change(changed);
    if (changed == project_.hotSpots) {
        return;
    }
    project_.hotSpots = std::move(changed);
    setHotSpotsUnsaved(true);
}

void OptionsStore::setHotSpotsUnsaved(bool unsaved) {
    if (hotSpotsUnsaved_ != unsaved) {
        hotSpotsUnsaved_ = unsaved;
        emit hotSpotsUnsavedChanged(unsaved);
    }
}

} // namespace qm::app
