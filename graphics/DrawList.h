#pragma once
// A whole map's sprite draws as a list: the draws that a later identical draw hides are
// dropped, and the rest are painted in vertical strips of the image, one thread to a strip.

#include "graphics/SpriteStacks.h"

#include <QImage>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <vector>

// Image Image of *Set with its cell at hex (X, Y), as DrawSprite draws it.
struct SpriteDraw {
    const SpriteSet* Set;
    int Image;
    int X;
    int Y;
    bool operator==(const SpriteDraw&) const = default;
};

// draws in their order without each draw that is repeated identically (same set, image and
// hex) later in the list. The later draw writes the same pixels with the same colours, so
// every pixel ends as before, whatever the masks. Draws at hexes off the map are all kept.
std::vector<SpriteDraw> WithoutHiddenRepeats(const std::vector<SpriteDraw>& draws);

// The picture of draws, each hex's draws stacked into one sprite in their order (StackFor),
// one draw per hex; new stacks are made on one thread per hardware thread. Only where every
// draw is on the map and keeps inside the hexagon of its cell: since hexagons never overlap,
// draws at different hexes then never meet, and their order does not matter. Otherwise
// draws as they are. The stacks named last until the next load, or until a later call drops
// the stacks kept beyond one map's worth.
std::vector<SpriteDraw> StackedByHex(const std::vector<SpriteDraw>& draws);

// StackedByHex(WithoutHiddenRepeats(draws)) for draws given a few at a time from the last to
// the first, gathered hex by hex as they come instead of kept as a list: going back, a draw is
// hidden exactly when its sprite was met on its hex already, so each hex keeps each of its
// sprites once, where it was drawn last. Only for draws that are all on the map and keep
// inside their hexagons, of at most 256 sprites, at most MostSpritesOnHex on one hex;
// otherwise Stacked gives nothing, and the list must be made as it is.
class SpriteNumbers;
class SeenOnHexes;
class HexDrawGatherer {
public:
    static constexpr int MostSpritesOnHex = 64;

    HexDrawGatherer();
    ~HexDrawGatherer();
    HexDrawGatherer(const HexDrawGatherer&) = delete;
    HexDrawGatherer& operator=(const HexDrawGatherer&) = delete;

    // draws, in their order, all drawn before the draws added so far.
    void AddBefore(std::span<const SpriteDraw> draws);
    std::optional<std::vector<SpriteDraw>> Stacked() const;

private:
    std::unique_ptr<SpriteNumbers> numbers_;
    std::unique_ptr<SeenOnHexes> seen_;
    // By number.
    std::vector<SpriteRef> sprites_;
    // MostSpritesOnHex numbers for each hex, the last drawn first, of which sizes_ are in use.
    std::vector<std::uint8_t> numbersByHex_;
    std::vector<std::uint8_t> sizes_;
    bool failed_ = false;
};

// One strip per hardware thread, 1 to 8.
int RedrawStrips();

// work(i) for each i from 0 to count - 1 on a thread of its own, but work(0), which runs on
// the calling thread; all are done when it returns. Where no thread is to be had, the work is
// done here all the same.
void OnThreads(int count, const std::function<void(int)>& work);

// The picture of draws on black, band by band: each band of BandRows rows is filled with
// black and gets the draws that reach into it, in the list's order, so every pixel sees the
// same draws in the same order as when the whole list is drawn in turn. A band can be painted
// into an image of its own rows alone.
class BandPainter {
public:
    static constexpr int BandRows = 32;

    // For a picture height rows high; draws must outlive the painter.
    BandPainter(const std::vector<SpriteDraw>& draws, int height);
    int Bands() const;
    // BandRows, or fewer for the last band.
    int RowsOfBand(int band) const;
    // The band's pixels from column left to before right into canvas, whose row 0 is the
    // band's first row and which is RowsOfBand(band) rows high.
    void Paint(int band, const PixelCanvas& canvas, int left, int right) const;

private:
    const std::vector<SpriteDraw>& draws_;
    int height_;
    // Each draw's top-left corner on the picture.
    std::vector<QPoint> corners_;
    // Band b's draws, as indexes into draws_ in list order: byBand_[starts_[b]] to before
    // byBand_[starts_[b + 1]].
    std::vector<std::size_t> starts_;
    std::vector<std::size_t> byBand_;
};

// Fills target with black and draws the list in order. target is cut into strips vertical
// strips, each painted by a thread of its own that draws the whole list clipped to it, so
// every pixel sees the same draws in the same order as on one thread; all are joined before
// it returns. An image of fewer than 32 bits per pixel is painted on the calling thread.
void PaintDraws(QImage& target, const std::vector<SpriteDraw>& draws, int strips);
