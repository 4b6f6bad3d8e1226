// Copyright 2026 The Gridcrafter developers
// SPDX-License-Identifier: LicenseRef-Gridcrafter-Proprietary

#include "graphics/SpriteStacks.h"

#include "graphics/HexGeometry.h"

#include <unordered_map>
#include <utility>
#include <vector>

namespace {

// Images drawn one over the other at one place, made into one sprite on first use, so that
// a hex of a whole map costs one sprite. Keyed by the images' cache keys, which change
// whenever an image does.
struct StackKeyHash {
    std::size_t operator()(const std::vector<qint64>& key) const
    {
        std::size_t hash = key.size();
        for (const qint64 part : key)
            hash = hash * 1000003 ^ static_cast<std::size_t>(part);
        return hash;
    }
};
std::unordered_map<std::vector<qint64>, SpriteSet, StackKeyHash> Stacks;

}  // namespace

StackSlot StackFor(std::span<const SpriteRef> sprites)
{
    // Kept between calls, so that finding a stack allocates nothing.
    static std::vector<qint64> key;
    key.clear();
    for (const SpriteRef& sprite : sprites)
        if (Holds(*sprite.Set, sprite.Image))
            key.push_back(sprite.Set->Images[static_cast<std::size_t>(sprite.Image)].cacheKey());
    const auto [entry, added] = Stacks.try_emplace(key);
    return {entry->second, added};
}

void MakeStack(SpriteSet& stack, std::span<const SpriteRef> sprites)
{
    QImage picture(SpriteWidth, SpriteHeight, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    const PixelCanvas canvas = *CanvasOf(picture);
    for (const SpriteRef& sprite : sprites)
        DrawSpriteClipped(canvas, *sprite.Set, sprite.Image, QPoint(0, 0),
                          {0, 0, SpriteWidth, SpriteHeight});
    stack.Runs.push_back(OpaqueRuns(picture));
    stack.Images.push_back(std::move(picture));
}

std::size_t StackedSpriteCount() { return Stacks.size(); }

void ForgetStackedSprites() { Stacks.clear(); }
