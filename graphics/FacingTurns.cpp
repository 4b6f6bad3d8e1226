// Copyright 2026 The Gridcrafter developers
// SPDX-License-Identifier: LicenseRef-Gridcrafter-Proprietary

#include "graphics/FacingTurns.h"

#include "graphics/HexGeometry.h"
#include "graphics/SpriteDrawing.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <map>
#include <numbers>
#include <vector>

namespace {

constexpr QRgb White = 0xffffffff;

// The point the turn goes round: row 19, one above the hexagon's middle row.
constexpr double TurnCentreA = 33;
constexpr double TurnCentreB = 19;

struct Shift {
    int right;
    int down;
};
// By direction; 1 and 4 stay where turning put them.
constexpr Shift JoinNudges[7] = {{0, 0}, {0, 0}, {8, -1}, {8, 1}, {0, 0}, {-8, 0}, {-8, 0}};

// A pixel of a turned cell and the offset in the source cell of the pixel it takes its
// colour from.
struct TurnedPixel {
    std::int16_t A;
    std::int16_t B;
    int From;
};

// The pixels of a cell turned by angle that take a colour; the others keep their own. Worked
// out once per angle: a load turns every sprite by the same five.
const std::vector<TurnedPixel>& TurnSources(float angle)
{
    static std::map<float, std::vector<TurnedPixel>> tables;
    const auto [entry, added] = tables.try_emplace(angle);
    std::vector<TurnedPixel>& sources = entry->second;
    if (!added)
        return sources;
    const double co = static_cast<float>(std::cos(-static_cast<double>(angle)));
    const double si = static_cast<float>(std::sin(-static_cast<double>(angle)));
    for (int b = 0; b < SpriteHeight; ++b)
        for (int a = 0; a < SpriteWidth; ++a) {
            if (!InsideHex(a, b))
                continue;
            // nearbyint in the default rounding mode takes halves to the even neighbour.
            const int sa = static_cast<int>(std::nearbyint(a * co - b * si - TurnCentreA * co +
                                                           TurnCentreB * si)) +
                           33;
            const int sb = static_cast<int>(std::nearbyint(a * si + b * co - TurnCentreA * si -
                                                           TurnCentreB * co)) +
                           19;
            if (sa >= 0 && sa < SpriteWidth && sb >= 0 && sb < SpriteHeight)
                sources.push_back({static_cast<std::int16_t>(a), static_cast<std::int16_t>(b),
                                   sb * SpriteWidth + sa});
        }
    return sources;
}

// Row b of the hexagon is the one stretch of pixel columns First[b] to Last[b].
struct HexagonStretches {
    std::array<int, SpriteHeight> First{};
    std::array<int, SpriteHeight> Last{};
};

const HexagonStretches& Hexagon()
{
    static const HexagonStretches hexagon = [] {
        HexagonStretches rows;
        for (int b = 0; b < SpriteHeight; ++b) {
            int a = 0;
            while (!InsideHex(a, b))
                ++a;
            rows.First[static_cast<std::size_t>(b)] = a;
            while (a + 1 < SpriteWidth && InsideHex(a + 1, b))
                ++a;
            rows.Last[static_cast<std::size_t>(b)] = a;
        }
        return rows;
    }();
    return hexagon;
}

}  // namespace

float FacingAngle(int d) { return static_cast<float>((d - 1) * std::numbers::pi / 3); }

void TurnCell(const QImage& source, QImage& destination, float angle)
{
    const auto* in = reinterpret_cast<const QRgb*>(source.constBits());
    uchar* const out = destination.bits();
    const qsizetype pitch = destination.bytesPerLine();
    for (const TurnedPixel& pixel : TurnSources(angle))
        reinterpret_cast<QRgb*>(out + pixel.B * pitch)[pixel.A] = in[pixel.From];
}

void NudgeJoinCell(QImage& cell, int d)
{
    if (d != 2 && d != 3 && d != 5 && d != 6)
        return;
    const Shift shift = JoinNudges[d];
    const QImage scratch = cell.copy();
    for (int b = 0; b < SpriteHeight; ++b) {
        const int sb = b - shift.down;
        if (sb < 0 || sb >= SpriteHeight)
            continue;
        QRgb* out = PixelRow(cell, b);
        const QRgb* in = PixelRow(scratch, sb);
        for (int a = std::max(shift.right, 0); a < SpriteWidth + std::min(shift.right, 0); ++a)
            out[a] = in[a - shift.right];
    }
    WhitenOutsideHex(cell);
}

void WhitenOutsideHex(QImage& cell)
{
    const HexagonStretches& hexagon = Hexagon();
    for (int b = 0; b < SpriteHeight; ++b) {
        QRgb* out = PixelRow(cell, b);
        const auto row = static_cast<std::size_t>(b);
        std::fill(out, out + hexagon.First[row], White);
        std::fill(out + hexagon.Last[row] + 1, out + SpriteWidth, White);
    }
}
