#pragma once

class QWidget;

namespace shell {

// Window measures in twips: 1440 to the inch, so 15 to the pixel at 96 dots per inch.
inline constexpr double kTwipsPerInch = 1440.0;

// Twips per pixel for the screen the widget is on (the primary screen without one),
// from its logical dots per inch.
double twipsPerPixel(const QWidget* widget = nullptr);

double pixelsToTwips(double pixels, const QWidget* widget = nullptr);
// Rounded to the nearest whole pixel.
int twipsToPixels(double twips, const QWidget* widget = nullptr);

} // namespace shell
