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
    emit optionsChanged();
    emit videosChanged();
}

} // namespace qm::app
