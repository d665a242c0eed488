// The icon the program draws for its windows and the icons installed for the
// desktop's menu show the same car.
#include "about/AppIcon.h"

#include <QImage>
#include <QString>
#include <gtest/gtest.h>

namespace {

QImage installedIcon(int size) {
    return QImage(QStringLiteral(DRIVOLEX_ICON_THEME_DIR "/%1x%1/apps/drivolex.png").arg(size))
        .convertToFormat(QImage::Format_ARGB32);
}

QImage drawnIcon(int size) {
    return about::appIconPixmap(size).toImage().convertToFormat(QImage::Format_ARGB32);
}

// Mean difference per pixel over the four channels, 0 (same) to 255.
double meanDifference(const QImage& a, const QImage& b) {
    double total = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            total += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
                     std::abs(qBlue(p) - qBlue(q)) + std::abs(qAlpha(p) - qAlpha(q));
        }
    return total / (4.0 * a.width() * a.height());
}

// Two renderers smooth edges differently, most visibly in the smallest sizes where a
// pixel is a large part of a line; anything more is a different drawing.
double allowedDifference(int size) {
    return size < 32 ? 3.5 : 1.5;
}

} // namespace

TEST(AppIcon, InstalledIconsMatchTheDrawnOneAtEverySize) {
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QImage installed = installedIcon(size);
        ASSERT_FALSE(installed.isNull()) << size;
        ASSERT_EQ(installed.size(), QSize(size, size));
        EXPECT_LT(meanDifference(installed, drawnIcon(size)), allowedDifference(size)) << size;
    }
}

TEST(AppIcon, ComparisonTellsADifferentDrawingApart) {
    const QImage installed = installedIcon(48);
    ASSERT_FALSE(installed.isNull());
    const QImage drawn = drawnIcon(48);
    EXPECT_GT(meanDifference(installed, drawn.mirrored(true, false)), allowedDifference(48));
    EXPECT_GT(meanDifference(installed, drawn.rgbSwapped()), allowedDifference(48));
    const QImage small = installedIcon(16);
    ASSERT_FALSE(small.isNull());
    EXPECT_GT(meanDifference(small, drawnIcon(16).mirrored(true, false)), allowedDifference(16));
}
