// Copyright 2026 The Gridcrafter developers
// SPDX-License-Identifier: LicenseRef-Gridcrafter-Proprietary

#include "graphics/ZoomedPicture.h"

#include "graphics/SpriteDrawing.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

// Weights are fixed point: a row of sums of 8-bit channels times two weights still fits in 32
// bits (255 * 4096 * 4096 plus the rounding).
constexpr int WeightBits = 12;
constexpr std::uint32_t WeightOne = 1u << WeightBits;
constexpr int Channels = 4;

// Products such as 1301 * (1 / 3.0) land a hair beside a whole number.
constexpr double Slack = 1e-9;

// sums[b] += weight * bytes[b] for count bytes. Apart, the two never meet, and the compiler
// takes the loop in vectors.
void AddWeighted(std::uint32_t* __restrict sums, const uchar* __restrict bytes, std::size_t count,
                 std::uint32_t weight)
{
    for (std::size_t b = 0; b < count; ++b)
        sums[b] += weight * bytes[b];
}

}  // namespace

int ZoomedLength(int length, double scale)
{
    return static_cast<int>(std::ceil(length * scale - Slack));
}

int MapPixelAt(int k, double scale) { return static_cast<int>(std::floor((k + 0.5) / scale)); }

QRect ZoomedRect(const QRect& area, double scale)
{
    if (area.isEmpty())
        return {};
    // Above one, the pixels whose centres lie on the area; below, those whose spans meet it.
    const double centre = scale >= 1 ? 0.5 : 0;
    const auto first = [&](int edge) {
        return static_cast<int>(scale >= 1 ? std::ceil(edge * scale - centre - Slack)
                                           : std::floor(edge * scale + Slack));
    };
    const auto end = [&](int edge) {
        return static_cast<int>(std::ceil(edge * scale - centre - Slack));
    };
    return QRect(QPoint(first(area.left()), first(area.top())),
                 QPoint(end(area.right() + 1) - 1, end(area.bottom() + 1) - 1));
}

void PaintBlocks(const QImage& source, double scale, const QRect& area, QImage& target)
{
    const auto clamped = [](int pixel, int length) { return std::clamp(pixel, 0, length - 1); };
    std::vector<int> columns(static_cast<std::size_t>(area.width()));
    for (int i = 0; i < area.width(); ++i)
        columns[static_cast<std::size_t>(i)] =
            clamped(MapPixelAt(area.left() + i, scale), source.width());
    int previous = -1;
    for (int j = 0; j < area.height(); ++j) {
        const int row = clamped(MapPixelAt(area.top() + j, scale), source.height());
        QRgb* out = PixelRow(target, j);
        // A block repeats its first row.
        if (row == previous) {
            std::memcpy(out, PixelRow(target, j - 1), columns.size() * sizeof(QRgb));
            continue;
        }
        const QRgb* in = PixelRow(source, row);
        for (std::size_t i = 0; i < columns.size(); ++i)
            out[i] = in[columns[i]];
        previous = row;
    }
}

AveragedPicture::Taps AveragedPicture::TapsFor(int length, double scale)
{
    Taps taps;
    const int zoomed = ZoomedLength(length, scale);
    for (int k = 0; k < zoomed; ++k) {
        const double from = k / scale;
        const double to = std::min((k + 1) / scale, static_cast<double>(length));
        const int first = std::min(static_cast<int>(std::floor(from)), length - 1);
        const int last = std::max(first, static_cast<int>(std::ceil(to)) - 1);
        taps.First.push_back(first);
        taps.Offset.push_back(static_cast<int>(taps.Weights.size()));
        taps.Count.push_back(last - first + 1);
        // Each pixel's share of what the picture pixel covers, the rounding given to the
        // largest so that they add up to one exactly.
        const double covered = std::max(to - from, Slack);
        const auto start = static_cast<std::ptrdiff_t>(taps.Weights.size());
        std::uint32_t sum = 0;
        for (int i = first; i <= last; ++i) {
            const double share = std::min(i + 1.0, to) - std::max(static_cast<double>(i), from);
            const auto weight =
                static_cast<std::uint32_t>(std::lround(std::max(share, 0.0) / covered * WeightOne));
            taps.Weights.push_back(weight);
            sum += weight;
        }
        // Unsigned: the rounding may have given a little too much, taken back here.
        *std::max_element(taps.Weights.begin() + start, taps.Weights.end()) += WeightOne - sum;
    }
    return taps;
}

void AveragedPicture::Make(const QImage& source, double scale)
{
    scale_ = scale;
    columns_ = TapsFor(source.width(), scale);
    rows_ = TapsFor(source.height(), scale);
    picture_ = QImage(ZoomedLength(source.width(), scale), ZoomedLength(source.height(), scale),
                      QImage::Format_RGB32);
    Update(source, source.rect());
}

void AveragedPicture::Update(const QImage& source, const QRect& area)
{
    const QRect changed = ZoomedRect(area & source.rect(), scale_) & picture_.rect();
    for (int row = changed.top(); row <= changed.bottom(); ++row)
        PaintRow(source, row, changed.left(), changed.right() + 1);
}

void AveragedPicture::PaintRow(const QImage& source, int row, int left, int right)
{
    const auto r = static_cast<std::size_t>(row);
    const auto l = static_cast<std::size_t>(left);
    const auto e = static_cast<std::size_t>(right - 1);
    const int firstColumn = columns_.First[l];
    const int endColumn = columns_.First[e] + columns_.Count[e];
    const std::size_t span = static_cast<std::size_t>(endColumn - firstColumn) * Channels;
    sums_.assign(span, 0);
    // Down: the source rows under the picture row, summed by weight.
    for (int i = 0; i < rows_.Count[r]; ++i)
        AddWeighted(
            sums_.data(),
            source.constScanLine(rows_.First[r] + i) + std::ptrdiff_t{firstColumn} * Channels, span,
            rows_.Weights[static_cast<std::size_t>(rows_.Offset[r]) + static_cast<std::size_t>(i)]);
    // Across: the summed columns under each picture pixel.
    QRgb* out = PixelRow(picture_, row);
    for (std::size_t k = l; k <= e; ++k) {
        // Blue, green, red and the unused fourth byte, as they lie in memory.
        std::uint32_t pixel[Channels] = {};
        const auto offset = static_cast<std::size_t>(columns_.Offset[k]);
        const std::uint32_t* sums =
            sums_.data() + static_cast<std::size_t>((columns_.First[k] - firstColumn) * Channels);
        for (int i = 0; i < columns_.Count[k]; ++i, sums += Channels) {
            const std::uint32_t weight = columns_.Weights[offset + static_cast<std::size_t>(i)];
            for (int c = 0; c < Channels; ++c)
                pixel[c] += weight * sums[c];
        }
        constexpr int Shift = 2 * WeightBits;
        constexpr std::uint32_t Half = 1u << (Shift - 1);
        const auto channel = [&](int c) { return static_cast<int>((pixel[c] + Half) >> Shift); };
        out[k] = qRgb(channel(2), channel(1), channel(0));
    }
}
