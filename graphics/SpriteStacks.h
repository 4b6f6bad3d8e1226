#pragma once
// The pictures of sprites drawn in turn at one place, kept as the one image of a set: the same
// pixels at the cost of one sprite. A whole map draws a stack per hex.

#include "graphics/SpriteDrawing.h"

#include <cstddef>
#include <span>

// Image Image of *Set.
struct SpriteRef {
    const SpriteSet* Set;
    int Image;
    bool operator==(const SpriteRef&) const = default;
};

// Images a set lacks add nothing. Finding and making are apart, so that the stacks of a whole
// map can be made on several threads: StackFor finds the stack of the sprites, a new and empty
// one the first time (New), which MakeStack then fills; stacks apart may be made at the same
// time. Kept until ForgetStackedSprites, which a load of the sheets calls.
struct StackSlot {
    SpriteSet& Stack;
    bool New;
};
StackSlot StackFor(std::span<const SpriteRef> sprites);
void MakeStack(SpriteSet& stack, std::span<const SpriteRef> sprites);
std::size_t StackedSpriteCount();
// Only while no stacked sprite is in use.
void ForgetStackedSprites();
