#pragma once

#include "compare/image_diff.h"
#include "files/restore_points.h"

#include <QLocale>
#include <QString>

#include <vector>

// How Tune History words its points and differences: as a workshop log
// reads, with the parameter dialogs' captions and the user's numbers.
namespace tunara::ui::history {

// What a point holds, told apart around an upload: "Sent in an upload"
// against "The module's own, before an upload".
QString eventWording(restore::Event event);
// The same for one point, saying when its upload failed or was stopped:
// "Upload: image sent (upload failed)".
QString pointWording(const restore::Entry &point);

// The parameters that differ, one line each, as the dialogs name them:
// "Cranking Pulses 4 → 6", "Disable Multi-Spark: off → on". A flag byte
// whose named settings are listed already is left out.
QStringList parameterLines(const std::vector<compare::ParameterDifference> &changes,
                           const QLocale &locale = QLocale());

}  // namespace tunara::ui::history
