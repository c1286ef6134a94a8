#include "app/VideoFindingsText.h"

#include "persist/FileIo.h"

#include <QStringList>

namespace qm::app {

QString findingsText(const media::VideoCheck& check) {
    QStringList lines;
    for (const media::Finding& finding : check.findings) {
        if (finding.level == media::Level::Note) {
            continue;
        }
        const std::string_view level = media::levelName(finding.level, media::Language::Russian);
        lines << QStringLiteral("• ") +
                     QString::fromUtf8(level.data(), static_cast<qsizetype>(level.size())) +
                     QStringLiteral(": ") + QString::fromStdString(finding.russian);
    }
    if (lines.isEmpty()) {
        return {};
    }
    return QStringLiteral("Видео ") + QString::fromStdString(pathText(check.path)) +
           QStringLiteral(":\n") + lines.join(u'\n');
}

} // namespace qm::app
