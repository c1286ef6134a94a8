#pragma once
// The help texts of the option controls. Line breaks are single CR characters,
// as the texts were written; the tooltip shows each CR as a new line.

#include <QString>
#include <QStringList>

#include <vector>

namespace qm::app {

struct TooltipEntry {
    QStringList controls; // object names of the controls that share the text
    QString text;
};

// In the order the tooltips are registered.
const std::vector<TooltipEntry>& tooltipEntries();

} // namespace qm::app
