#pragma once
// The single store of the window's state: one Project (player options, the
// three video paths, the hot spot table). Controls write it through the
// setters; every change is announced so the controls show what it holds.
// Hot spots live only in project files, so the store also knows whether they
// changed since the last project save or load.

#include "model/Project.h"

#include <QObject>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace qm::app {

class OptionsStore : public QObject {
    Q_OBJECT

  public:
    explicit OptionsStore(Project initial, QObject* parent = nullptr);

    const Project& project() const { return project_; }
    const PlayerOptions& options() const { return project_.options; }
    const VideoPaths& videos() const { return project_.videos; }

    // Applies a change to the options; announces it only when something changed.
    void changeOptions(const std::function<void(PlayerOptions&)>& change);
    void setOptions(PlayerOptions options);

    void setVideo(int n, std::string path);
    void clearExtraVideos();
    void clearAllVideos();

    // Replaces everything, as loading a project does.
    void setProject(Project project);

    // The hot spot table as the editor changes it; a refusal changes nothing.
    std::optional<StoreRefusal> storeHotSpot(int slot, std::string_view link,
                                             std::string_view title, std::int32_t yaw,
                                             double position, std::string_view timeText, bool self);
    void removeHotSpot(int slot);
    void removeAllHotSpots();
    // The icon code of slot 1..10 (HotSpotIcons entry slot - 1).
    void setIconCode(int slot, std::int32_t code);

    // True when the hot spots changed since the last project save or load.
    bool hotSpotsUnsaved() const { return hotSpotsUnsaved_; }
    void markProjectSaved() { setHotSpotsUnsaved(false); }

  signals:
    void optionsChanged();
    void videosChanged();
    void hotSpotsUnsavedChanged(bool unsaved);

  private:
    void setHotSpotsUnsaved(bool unsaved);
    void changeHotSpots(const std::function<void(HotSpotTable&)>& change);

    Project project_;
    bool hotSpotsUnsaved_ = false;
};

} // namespace qm::app
