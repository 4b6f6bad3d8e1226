#pragma once
// The box filter written the plain way, to hold the scaler to: every source pixel added into
// the target pixel it falls into, then each target pixel the rounded mean of what it got.

#include <QImage>
#include <cstdint>
#include <vector>

inline QImage BoxReference(const QImage& source, QSize size)
{
    const int width = size.width();
    const int height = size.height();
    const auto pixels = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    std::vector<std::uint64_t> sums(3 * pixels, 0);
    std::vector<std::uint64_t> counts(pixels, 0);
    for (int y = 0; y < source.height(); ++y)
        for (int x = 0; x < source.width(); ++x) {
            const auto at = static_cast<std::size_t>(qint64{y} * height / source.height() * width +
                                                     qint64{x} * width / source.width());
            const QRgb pixel = source.pixel(x, y);
            sums[3 * at] += static_cast<std::uint64_t>(qRed(pixel));
            sums[3 * at + 1] += static_cast<std::uint64_t>(qGreen(pixel));
            sums[3 * at + 2] += static_cast<std::uint64_t>(qBlue(pixel));
            ++counts[at];
        }
    QImage target(size, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const std::size_t at = static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                                   static_cast<std::size_t>(x);
            const std::uint64_t n = counts[at];
            const auto mean = [&](std::size_t c) {
                return static_cast<int>((sums[3 * at + c] + n / 2) / n);
            };
            target.setPixel(x, y, qRgb(mean(0U), mean(1U), mean(2U)));
        }
    return target;
}
