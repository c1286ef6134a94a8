// Writes the project files and videos that publish_test.sh publishes.

#include "model/Project.h"
#include "persist/ProjectFile.h"
#include "publish/PackageFiles.h"

#include <filesystem>
#include <iostream>
#include <string>

namespace {

namespace fs = std::filesystem;

bool report(const qm::FileResult& failed) {
    if (failed) {
        std::cerr << failed->path << ": " << failed->reason << '\n';
    }
    return !failed;
}

bool writeProject(const fs::path& path, const std::string& v1, const std::string& v2 = {}) {
    qm::Project project;
    project.videos.set(1, v1);
    project.videos.set(2, v2);
    project.options.htmlTitle = "Тур по дому";
    project.hotSpots.put(2, qm::HotSpotItem{"http://example.org/", "Зал (1)", 90, 12.5, 5, 1});
    project.hotSpots.put(
        3, qm::HotSpotItem{"https://example.org/musée", "Entrée du musée", 0, 1, 2, 0});
    const qm::ProjectWriteResult written = qm::writeProjectFile(path, project);
    if (!written.ok()) {
        std::cerr << written.error->path << ": " << written.error->reason << '\n';
    }
    return written.ok();
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: publish_cli_fixture DIR\n";
        return 2;
    }
    const fs::path dir = argv[1];
    const fs::path media = dir / "media";
    const bool ok =
        report(qm::ensureFolder(media)) &&
        report(qm::writeFileAtomically(media / "tour.mp4", "mp4 bytes")) &&
        report(qm::writeFileAtomically(media / "tour.avi", "avi bytes")) &&
        writeProject(dir / "ok.pp5", (media / "tour.mp4").string()) &&
        writeProject(dir / "novideo.pp5", "") &&
        writeProject(dir / "missing.pp5", (media / "gone.mp4").string()) &&
        writeProject(dir / "avi.pp5", (media / "tour.mp4").string(), (media / "tour.avi").string());
    return ok ? 0 : 1;
}
