// Copyright 2026 The Gridcrafter developers
// SPDX-License-Identifier: LicenseRef-Gridcrafter-Proprietary

#include "graphics/BoxScaler.h"

#include <algorithm>
#include <cstring>

namespace {

// The first of the source's count positions that falls into target position t of targetCount:
// the least x with x * targetCount >= t * count.
int FirstFallingInto(qint64 t, int count, int targetCount)
{
    return static_cast<int>((t * count + targetCount - 1) / targetCount);
}

}  // namespace

QSize FitWithin(QSize source, int edge)
{
    const int longer = std::max(source.width(), source.height());
    if (longer <= edge)
        return source;
    const auto side = [&](int length) {
        return std::max(1, static_cast<int>((qint64{length} * edge + longer / 2) / longer));
    };
    return {side(source.width()), side(source.height())};
}

BoxScaler::Target BoxScaler::TargetOf(QImage& image)
{
    return {image.bits(), image.bytesPerLine(), image.size()};
}

BoxScaler::BoxScaler(QSize source, const Target& target, int firstTargetRow, int lastTargetRow)
    : source_(source),
      target_(target),
      nextTargetRow_(firstTargetRow),
      lastTargetRow_(lastTargetRow),
      columnStarts_(static_cast<std::size_t>(target.Size.width()) + 1),
      sums_(3 * static_cast<std::size_t>(target.Size.width()), 0)
{
    for (int c = 0; c <= target.Size.width(); ++c)
        columnStarts_[static_cast<std::size_t>(c)] =
            FirstFallingInto(c, source.width(), target.Size.width());
}

int BoxScaler::FirstSourceRow(int targetRow) const
{
    return FirstFallingInto(targetRow, source_.height(), target_.Size.height());
}

void BoxScaler::AddRow(int y, const QRgb* pixels)
{
    std::uint32_t* sum = sums_.data();
    for (std::size_t c = 0; c + 1 < columnStarts_.size(); ++c, sum += 3) {
        std::uint32_t red = 0;
        std::uint32_t green = 0;
        std::uint32_t blue = 0;
        for (int x = columnStarts_[c]; x < columnStarts_[c + 1]; ++x) {
            red += static_cast<std::uint32_t>(qRed(pixels[x]));
            green += static_cast<std::uint32_t>(qGreen(pixels[x]));
            blue += static_cast<std::uint32_t>(qBlue(pixels[x]));
        }
        sum[0] += red;
        sum[1] += green;
        sum[2] += blue;
    }
    if (nextTargetRow_ < lastTargetRow_ && y + 1 == FirstSourceRow(nextTargetRow_ + 1)) {
        WriteTargetRow(nextTargetRow_++);
        std::fill(sums_.begin(), sums_.end(), 0);
    }
}

void BoxScaler::WriteTargetRow(int t)
{
    const std::uint32_t rows =
        static_cast<std::uint32_t>(FirstSourceRow(t + 1) - FirstSourceRow(t));
    auto* out = reinterpret_cast<QRgb*>(target_.Bits + t * target_.Pitch);
    const std::uint32_t* sum = sums_.data();
    for (std::size_t c = 0; c + 1 < columnStarts_.size(); ++c, sum += 3) {
        const std::uint32_t count =
            rows * static_cast<std::uint32_t>(columnStarts_[c + 1] - columnStarts_[c]);
        const auto mean = [count](std::uint32_t total) {
            return static_cast<int>((total + count / 2) / count);
        };
        out[c] = qRgb(mean(sum[0]), mean(sum[1]), mean(sum[2]));
    }
}
