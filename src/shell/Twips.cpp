#include "Twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <cmath>

namespace shell {

double twipsPerPixel(const QWidget* widget) {
    const QScreen* screen = widget ? widget->screen() : QGuiApplication::primaryScreen();
    const double dpi = screen ? screen->logicalDotsPerInchX() : 96.0;
    return kTwipsPerInch / (dpi > 0 ? dpi : 96.0);
}

double pixelsToTwips(double pixels, const QWidget* widget) {
    return pixels * twipsPerPixel(widget);
}

int twipsToPixels(double twips, const QWidget* widget) {
    return int(std::lround(twips / twipsPerPixel(widget)));
}

} // namespace shell
