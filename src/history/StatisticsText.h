#pragma once

#include "Statistics.h"

#include <QStringList>

namespace history {

// The captions of the Statistics figures in the order they are shown: "Average MPG",
// ..., "Work Orders".
QStringList statisticCaptions();
// The texts of the figures, in the captions' order; an empty figure is empty text.
QStringList statisticTexts(const Statistics& figures);

} // namespace history
