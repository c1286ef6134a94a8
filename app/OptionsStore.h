#pragma once
// The single store of the window's state: one Project (player options, the
// three video paths, the hot spot table). Controls write it through the
// setters; every change is announced so the controls show what it holds.

#include "model/Project.h"

#include <QObject>

#include <functional>
#include <string>

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

  signals:
    void optionsChanged();
    void videosChanged();

  private:
    Project project_;
};

} // namespace qm::app
