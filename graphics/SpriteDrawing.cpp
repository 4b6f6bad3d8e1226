// Copyright 2026 The Gridcrafter developers
// SPDX-License-Identifier: LicenseRef-Gridcrafter-Proprietary

#include "graphics/SpriteDrawing.h"

#include "graphics/HexGeometry.h"

#include <QPainter>
#include <algorithm>
#include <cstring>

namespace {

constexpr qsizetype BytesPerPixel = 4;

std::size_t PixelBytes(int pixels)
{
    return static_cast<std::size_t>(pixels) * std::size_t{BytesPerPixel};
}

// Most runs of the overlays are a few pixels long, where a move or two of 16 bytes beats a
// call to memcpy; the second move may copy bytes again, harmless since source and target
// never overlap. Longer runs go to memcpy, which moves wider blocks.
inline void CopyPixels(uchar* target, const uchar* source, int count)
{
    constexpr std::size_t Block = 16;
    const std::size_t bytes = PixelBytes(count);
    if (bytes > 2 * Block) {
        std::memcpy(target, source, bytes);
    } else if (bytes >= Block) {
        std::memcpy(target, source, Block);
        std::memcpy(target + bytes - Block, source + bytes - Block, Block);
    } else {
        for (std::size_t i = 0; i < bytes; i += BytesPerPixel)
            std::memcpy(target + i, source + i, BytesPerPixel);
    }
}

}  // namespace

std::vector<OpaqueRun> OpaqueRuns(const QImage& sprite)
{
    std::vector<OpaqueRun> runs;
    for (int b = 0; b < SpriteHeight; ++b) {
        const QRgb* row = PixelRow(sprite, b);
        int a = 0;
        while (a < SpriteWidth) {
            while (a < SpriteWidth && qAlpha(row[a]) == 0)
                ++a;
            const int first = a;
            while (a < SpriteWidth && qAlpha(row[a]) != 0)
                ++a;
            if (a > first)
                runs.push_back({static_cast<std::uint8_t>(b), static_cast<std::uint8_t>(first),
                                static_cast<std::uint8_t>(a - first)});
        }
    }
    return runs;
}

bool Holds(const SpriteSet& set, int n)
{
    return n >= 0 && n < set.Count() && static_cast<std::size_t>(n) < set.Runs.size();
}

void DrawSpriteAt(QImage& target, const SpriteSet& set, int n, QPoint topLeft)
{
    if (!Holds(set, n) || target.isNull())
        return;
    if (const std::optional<PixelCanvas> canvas = CanvasOf(target)) {
        DrawSpriteClipped(*canvas, set, n, topLeft, {0, 0, canvas->Width, canvas->Height});
        return;
    }
    QPainter painter(&target);
    painter.drawImage(topLeft, set.Images[static_cast<std::size_t>(n)]);
}

std::optional<PixelCanvas> CanvasOf(QImage& image)
{
    const QImage::Format format = image.format();
    if (format != QImage::Format_RGB32 && format != QImage::Format_ARGB32 &&
        format != QImage::Format_ARGB32_Premultiplied)
        return std::nullopt;
    return PixelCanvas{image.bits(), image.bytesPerLine(), image.width(), image.height()};
}

void DrawSpriteClipped(const PixelCanvas& canvas, const SpriteSet& set, int n, QPoint topLeft,
                       const PixelClip& clip)
{
    const int clipLeft = std::max(clip.Left, 0);
    const int clipTop = std::max(clip.Top, 0);
    const int clipRight = std::min(clip.Right, canvas.Width);
    const int clipBottom = std::min(clip.Bottom, canvas.Height);
    const int left = topLeft.x();
    const int top = topLeft.y();
    if (!Holds(set, n) || left >= clipRight || left + SpriteWidth <= clipLeft ||
        top >= clipBottom || top + SpriteHeight <= clipTop)
        return;
    // Whole maps draw thousands of sprites: look the images up once, not once per run.
    const auto index = static_cast<std::size_t>(n);
    const QImage& sprite = set.Images[index];
    const uchar* const spriteBits = sprite.constBits();
    const qsizetype spritePitch = sprite.bytesPerLine();
    const std::vector<OpaqueRun>& runs = set.Runs[index];
    if (left >= clipLeft && top >= clipTop && left + SpriteWidth <= clipRight &&
        top + SpriteHeight <= clipBottom) {
        uchar* const cell = canvas.Bits + top * canvas.Pitch + left * BytesPerPixel;
        for (const OpaqueRun& run : runs)
            CopyPixels(cell + run.Row * canvas.Pitch + run.First * BytesPerPixel,
                       spriteBits + run.Row * spritePitch + run.First * BytesPerPixel, run.Length);
        return;
    }
    // Runs go row by row: only those of the clip's rows are looked at.
    const auto below = [](const OpaqueRun& run, int row) { return run.Row < row; };
    for (auto run = std::lower_bound(runs.begin(), runs.end(), clipTop - top, below);
         run != runs.end() && top + run->Row < clipBottom; ++run) {
        const int y = top + run->Row;
        const int first = std::max(left + run->First, clipLeft);
        const int end = std::min(left + run->First + run->Length, clipRight);
        if (first < end)
            CopyPixels(canvas.Bits + y * canvas.Pitch + first * BytesPerPixel,
                       spriteBits + run->Row * spritePitch + (first - left) * BytesPerPixel,
                       end - first);
    }
}
