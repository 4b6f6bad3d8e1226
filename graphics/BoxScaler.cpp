// Copyright 2026 The Gridcrafter developers
// SPDX-License-Identifier: LicenseRef-Gridcrafter-Proprietary

#include "graphics/BoxScaler.h"

#include <algorithm>
#include <bit>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

static_assert(std::endian::native == std::endian::little, "RGB32 pixels are read as bytes");

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
      sums_(4 * static_cast<std::size_t>(source.width()), 0),
      narrowSums_(sums_.size(), 0)
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
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(pixels);
    std::uint16_t* narrow = narrowSums_.data();
    const std::size_t count = narrowSums_.size();
    std::size_t i = 0;
#if defined(__SSE2__)
    // Sixteen bytes at a time: a thumbnail adds every pixel of the map.
    const __m128i zero = _mm_setzero_si128();
    for (; i + 16 <= count; i += 16) {
        const __m128i in = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + i));
        auto* low = reinterpret_cast<__m128i*>(narrow + i);
        auto* high = reinterpret_cast<__m128i*>(narrow + i + 8);
        _mm_storeu_si128(low, _mm_add_epi16(_mm_loadu_si128(low), _mm_unpacklo_epi8(in, zero)));
        _mm_storeu_si128(high, _mm_add_epi16(_mm_loadu_si128(high), _mm_unpackhi_epi8(in, zero)));
    }
#endif
    for (; i < count; ++i)
        narrow[i] = static_cast<std::uint16_t>(narrow[i] + bytes[i]);
    if (++narrowRows_ == NarrowRowLimit)
        Widen();
    if (nextTargetRow_ < lastTargetRow_ && y + 1 == FirstSourceRow(nextTargetRow_ + 1)) {
        // Thumbnails of the map never need the wide sums: few enough rows fall into a row.
        if (wideInUse_) {
            Widen();
            WriteTargetRow(nextTargetRow_++, sums_);
            std::fill(sums_.begin(), sums_.end(), 0);
            wideInUse_ = false;
        } else {
            WriteTargetRow(nextTargetRow_++, narrowSums_);
            std::fill(narrowSums_.begin(), narrowSums_.end(), 0);
            narrowRows_ = 0;
        }
    }
}

void BoxScaler::Widen()
{
    for (std::size_t i = 0; i < sums_.size(); ++i)
        sums_[i] += narrowSums_[i];
    std::fill(narrowSums_.begin(), narrowSums_.end(), 0);
    narrowRows_ = 0;
    wideInUse_ = true;
}

template <typename Sum>
void BoxScaler::WriteTargetRow(int t, const std::vector<Sum>& sums)
{
    const std::uint32_t rows =
        static_cast<std::uint32_t>(FirstSourceRow(t + 1) - FirstSourceRow(t));
    auto* out = reinterpret_cast<QRgb*>(target_.Bits + t * target_.Pitch);
    for (std::size_t c = 0; c + 1 < columnStarts_.size(); ++c) {
        const auto first = static_cast<std::size_t>(columnStarts_[c]);
        const auto end = static_cast<std::size_t>(columnStarts_[c + 1]);
        // Bytes of a pixel in memory order: blue, green, red, alpha.
        std::uint32_t blue = 0;
        std::uint32_t green = 0;
        std::uint32_t red = 0;
        for (std::size_t x = first; x < end; ++x) {
            blue += sums[4 * x];
            green += sums[4 * x + 1];
            red += sums[4 * x + 2];
        }
        const std::uint32_t count = rows * static_cast<std::uint32_t>(end - first);
        const auto mean = [count](std::uint32_t total) {
            return static_cast<int>((total + count / 2) / count);
        };
        out[c] = qRgb(mean(red), mean(green), mean(blue));
    }
}
