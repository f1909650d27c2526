#pragma once

#include <QColor>
#include <QImage>
#include <QLineF>
#include <QWidget>
#include <cmath>
#include <gtest/gtest.h>
#include <vector>

// Pixel checks for the lights: layouts are given in twips, and at 96 dpi a pixel is 15 twips.
namespace lightprobe {

inline QImage render(QWidget& widget)
{
    return widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

inline QPoint pixelOf(qreal xTwips, qreal yTwips)
{
    return QPoint(int(std::floor(xTwips / 15.0)), int(std::floor(yTwips / 15.0)));
}

inline ::testing::AssertionResult colourAt(const QImage& image, QPoint p, const QColor& expected)
{
    if (!image.rect().contains(p))
        return ::testing::AssertionFailure() << "pixel (" << p.x() << "," << p.y() << ") outside the image";
    const QColor got = image.pixelColor(p);
    if (got.rgb() == expected.rgb())
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "pixel (" << p.x() << "," << p.y() << ") is " << got.red() << "," << got.green() << ","
           << got.blue() << " instead of " << expected.red() << "," << expected.green() << ","
           << expected.blue();
}

inline ::testing::AssertionResult notColourAt(const QImage& image, QPoint p, const QColor& unwanted)
{
    if (image.rect().contains(p) && image.pixelColor(p).rgb() == unwanted.rgb())
        return ::testing::AssertionFailure()
               << "pixel (" << p.x() << "," << p.y() << ") has the colour " << unwanted.red() << ","
               << unwanted.green() << "," << unwanted.blue();
    return ::testing::AssertionSuccess();
}

// The first and last pixels a 2-pixel ray covers, and the pixels just past both of its ends.
struct RayPixels
{
    std::vector<QPoint> on;
    std::vector<QPoint> past;
};

inline RayPixels rayPixels(const QLineF& ray)
{
    RayPixels pixels;
    if (ray.y1() == ray.y2()) {
        const int row = int(ray.y1() / 15) - 1;
        const int first = int(std::min(ray.x1(), ray.x2()) / 15);
        const int last = int(std::max(ray.x1(), ray.x2()) / 15) - 1;
        pixels.on = {{first, row}, {last, row}, {first, row + 1}, {last, row + 1}};
        pixels.past = {{first - 1, row}, {last + 1, row}, {first, row - 1}, {first, row + 2}};
    } else {
        const int column = int(ray.x1() / 15) - 1;
        const int first = int(std::min(ray.y1(), ray.y2()) / 15);
        const int last = int(std::max(ray.y1(), ray.y2()) / 15) - 1;
        pixels.on = {{column, first}, {column, last}, {column + 1, first}, {column + 1, last}};
        pixels.past = {{column, first - 1}, {column, last + 1}, {column - 1, first}, {column + 2, first}};
    }
    return pixels;
}

} // namespace lightprobe
