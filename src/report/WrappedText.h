#pragma once

#include <QFont>
#include <QStringList>

class QPaintDevice;

namespace report {

// A text broken into the lines it takes within a width on a device: at word
// boundaries, and inside a word only when the word alone is wider than the width.
// Each line break of the text starts a new line; an empty paragraph is an empty line.
// The lines are painted as they are measured, so none runs past the width.
QStringList wrappedLines(const QString& text, const QFont& font, const QPaintDevice& device,
                         double width);

} // namespace report
