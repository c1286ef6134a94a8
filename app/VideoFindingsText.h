#pragma once
// The findings of a video as the window says them: in Russian, warnings and
// errors only (what publishing fixes needs no word).

#include "media/VideoCheck.h"

#include <QString>

namespace qm::app {

// "Видео PATH:" and one line per finding; empty when nothing is worth saying.
QString findingsText(const media::VideoCheck& check);

} // namespace qm::app
