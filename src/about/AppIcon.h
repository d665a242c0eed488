#pragma once

#include <QPixmap>

namespace about {

// The program's icon: a small car, drawn at the given size in device-independent pixels.
QPixmap appIconPixmap(int size, qreal devicePixelRatio = 1.0);

} // namespace about
