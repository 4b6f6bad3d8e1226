#include "graphics/DrawList.h"

#include "core/MapModel.h"
#include "graphics/HexGeometry.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <numeric>
#include <span>
#include <system_error>
#include <thread>
#include <utility>

namespace {

constexpr int MostStrips = 8;
constexpr QRgb Black = 0xff000000;
// Strip edges fall on whole cache lines of 64 bytes, so that no two threads write one line.
constexpr qint64 PixelsPerCacheLine = 16;
constexpr int Places = MapSize * MapSize;

bool OnMap(const SpriteDraw& draw)
{
    return draw.X >= 1 && draw.X <= MapSize && draw.Y >= 1 && draw.Y <= MapSize;
}

std::size_t Place(const SpriteDraw& draw)
{
    return static_cast<std::size_t>((draw.X - 1) * MapSize + draw.Y - 1);
}

}  // namespace

// Small numbers for the sprites of one list, so that each hex can note the sprites drawn on
// it in a few bits. Past Capacity a sprite gets no number, and its draws are all kept.
class SpriteNumbers {
public:
    static constexpr int Capacity = 256;

    int NumberOf(const SpriteSet* set, int image)
    {
        std::size_t slot = (reinterpret_cast<std::uintptr_t>(set) / alignof(SpriteSet) * 31 +
                            static_cast<std::size_t>(image)) %
                           Slots;
        while (slots_[slot].Set != nullptr) {
            if (slots_[slot].Set == set && slots_[slot].Image == image)
                return slots_[slot].Number;
            slot = (slot + 1) % Slots;
        }
        // Sprites past Capacity are kept too, numbered -1, so that finding them stays quick.
        slots_[slot] = {set, image, next_ < Capacity ? next_++ : -1};
        return slots_[slot].Number;
    }
    // Sprites numbered so far: numbers 0 to Count() - 1.
    int Count() const { return next_; }

private:
    struct Slot {
        const SpriteSet* Set;
        int Image;
        int Number;
    };
    // Mostly empty, so that probes stay short however many sprites come past Capacity.
    static constexpr std::size_t Slots = 8 * std::size_t{Capacity};
    std::vector<Slot> slots_ = std::vector<Slot>(Slots, Slot{nullptr, 0, -1});
    int next_ = 0;
};

// For each hex, the sprite numbers already met on the way back from the end of the list.
class SeenOnHexes {
public:
    // Whether the sprite was met on the hex before; notes it either way.
    bool Note(std::size_t place, int number)
    {
        const std::size_t bit = static_cast<std::size_t>(number);
        std::uint64_t& word = bits_[place * Words + bit / 64];
        const std::uint64_t mask = std::uint64_t{1} << (bit % 64);
        const bool seen = (word & mask) != 0;
        word |= mask;
        return seen;
    }

private:
    static constexpr std::size_t Words = SpriteNumbers::Capacity / 64;
    std::vector<std::uint64_t> bits_ = std::vector<std::uint64_t>(Places * Words, 0);
};

namespace {

// Whether every opaque pixel of the image lies inside the hexagon of its cell; an image the
// set lacks draws nothing.
bool StaysInHexagon(const SpriteSet& set, int n)
{
    if (n < 0 || static_cast<std::size_t>(n) >= set.Runs.size())
        return true;
    const auto inside = [](const OpaqueRun& run) {
        // Each row of the hexagon is one stretch, so the ends of a run tell.
        return InsideHex(run.First, run.Row) && InsideHex(run.First + run.Length - 1, run.Row);
    };
    return std::all_of(set.Runs[static_cast<std::size_t>(n)].begin(),
                       set.Runs[static_cast<std::size_t>(n)].end(), inside);
}

// Whether every draw is on the map and keeps inside the hexagon of its cell.
bool HexesKeepApart(const std::vector<SpriteDraw>& draws)
{
    SpriteNumbers numbers;
    // Per sprite number: not looked at yet, reaches outside, stays inside.
    enum class Verdict : char { Unknown, Outside, Inside };
    std::vector<Verdict> verdicts(SpriteNumbers::Capacity, Verdict::Unknown);
    for (const SpriteDraw& draw : draws) {
        if (!OnMap(draw))
            return false;
        const int number = numbers.NumberOf(draw.Set, draw.Image);
        Verdict verdict =
            number >= 0 ? verdicts[static_cast<std::size_t>(number)] : Verdict::Unknown;
        if (verdict == Verdict::Unknown)
            verdict = StaysInHexagon(*draw.Set, draw.Image) ? Verdict::Inside : Verdict::Outside;
        if (number >= 0)
            verdicts[static_cast<std::size_t>(number)] = verdict;
        if (verdict == Verdict::Outside)
            return false;
    }
    return true;
}

// The clip's part of its top row is filled pixel by pixel, the rest copied from it, which is
// quicker than filling every row.
void FillBlack(const PixelCanvas& canvas, const PixelClip& clip)
{
    const auto width = static_cast<std::size_t>(clip.Right - clip.Left);
    const auto offset = static_cast<qsizetype>(clip.Left) * static_cast<qsizetype>(sizeof(QRgb));
    auto* const first = reinterpret_cast<QRgb*>(canvas.Bits + clip.Top * canvas.Pitch + offset);
    std::fill_n(first, width, Black);
    for (int y = clip.Top + 1; y < clip.Bottom; ++y)
        std::memcpy(canvas.Bits + y * canvas.Pitch + offset, first, width * sizeof(QRgb));
}

// The pixel columns of strip i of strips.
PixelClip StripOf(const PixelCanvas& canvas, int strips, int i)
{
    const auto edge = [&](int k) {
        if (k == strips)
            return canvas.Width;
        return static_cast<int>(qint64{canvas.Width} * k / strips / PixelsPerCacheLine *
                                PixelsPerCacheLine);
    };
    return {edge(i), 0, edge(i + 1), canvas.Height};
}

}  // namespace

void OnThreads(int count, const std::function<void(int)>& work)
{
    std::vector<std::jthread> helpers;
    for (int i = 1; i < count; ++i) {
        try {
            helpers.emplace_back(work, i);
        } catch (const std::system_error&) {
            work(i);
        }
    }
    if (count > 0)
        work(0);
}

namespace {

// Hex by hex, the sprites drawn on it in order: those of place p from Starts[p] to
// Starts[p + 1] in Sprites.
struct SpritesByHex {
    std::vector<std::size_t> Starts;
    std::vector<SpriteRef> Sprites;
};

// One draw per hex: its one sprite, or the stack of its sprites.
std::vector<SpriteDraw> StackHexes(const SpritesByHex& hexes)
{
    // Stacks kept from earlier maps beyond one map's worth are dropped, so they cannot grow
    // without end; none is in use between two redraws.
    if (StackedSpriteCount() > Places)
        ForgetStackedSprites();
    std::vector<SpriteDraw> stacked;
    std::vector<std::pair<SpriteSet*, std::span<const SpriteRef>>> toMake;
    std::span<const SpriteRef> previous;
    const SpriteSet* previousStack = nullptr;
    for (std::size_t place = 0; place < Places; ++place) {
        const std::span<const SpriteRef> hex(hexes.Sprites.data() + hexes.Starts[place],
                                             hexes.Starts[place + 1] - hexes.Starts[place]);
        const int x = static_cast<int>(place) / MapSize + 1;
        const int y = static_cast<int>(place) % MapSize + 1;
        if (hex.size() == 1) {
            stacked.push_back({hex[0].Set, hex[0].Image, x, y});
        } else if (hex.size() > 1) {
            // Neighbouring hexes often show the same: then no need to look the stack up.
            if (!std::equal(hex.begin(), hex.end(), previous.begin(), previous.end())) {
                const StackSlot slot = StackFor(hex);
                if (slot.New)
                    toMake.emplace_back(&slot.Stack, hex);
                previous = hex;
                previousStack = &slot.Stack;
            }
            stacked.push_back({previousStack, 0, x, y});
        }
    }
    // A map's new stacks cost about as much as drawing their hexes: they are made on all cores.
    const auto threads = std::min(static_cast<std::size_t>(RedrawStrips()), toMake.size());
    OnThreads(static_cast<int>(threads), [&](int thread) {
        for (auto i = static_cast<std::size_t>(thread); i < toMake.size(); i += threads)
            MakeStack(*toMake[i].first, toMake[i].second);
    });
    return stacked;
}

}  // namespace

HexDrawGatherer::HexDrawGatherer()
    : numbers_(std::make_unique<SpriteNumbers>()),
      seen_(std::make_unique<SeenOnHexes>()),
      numbersByHex_(std::size_t{Places} * MostSpritesOnHex),
      sizes_(Places, 0)
{
}

HexDrawGatherer::~HexDrawGatherer() = default;

std::vector<SpriteDraw> WithoutHiddenRepeats(const std::vector<SpriteDraw>& draws)
{
    SpriteNumbers numbers;
    SeenOnHexes seen;
    std::vector<SpriteDraw> kept;
    kept.reserve(draws.size());
    // From the end back: a draw is hidden when the same sprite was already met on its hex.
    for (auto draw = draws.rbegin(); draw != draws.rend(); ++draw) {
        const int number = OnMap(*draw) ? numbers.NumberOf(draw->Set, draw->Image) : -1;
        if (number < 0 || !seen.Note(Place(*draw), number))
            kept.push_back(*draw);
    }
    std::reverse(kept.begin(), kept.end());
    return kept;
}

std::vector<SpriteDraw> StackedByHex(const std::vector<SpriteDraw>& draws)
{
    if (!HexesKeepApart(draws))
        return draws;
    // The sprites of each hex together, in list order: a counting sort by hex.
    SpritesByHex hexes{std::vector<std::size_t>(Places + 1, 0),
                       std::vector<SpriteRef>(draws.size())};
    for (const SpriteDraw& draw : draws)
        ++hexes.Starts[Place(draw) + 1];
    std::partial_sum(hexes.Starts.begin(), hexes.Starts.end(), hexes.Starts.begin());
    std::vector<std::size_t> next(hexes.Starts.begin(), hexes.Starts.end() - 1);
    for (const SpriteDraw& draw : draws)
        hexes.Sprites[next[Place(draw)]++] = {draw.Set, draw.Image};
    return StackHexes(hexes);
}

void HexDrawGatherer::AddBefore(std::span<const SpriteDraw> draws)
{
    // From the last back, in one loop: a whole map's listing comes here a cell at a time.
    for (auto draw = draws.rbegin(); draw != draws.rend() && !failed_; ++draw) {
        if (!OnMap(*draw)) {
            failed_ = true;
            break;
        }
        const int count = numbers_->Count();
        const int number = numbers_->NumberOf(draw->Set, draw->Image);
        if (number < 0) {
            failed_ = true;
            break;
        }
        if (number == count) {
            sprites_.push_back({draw->Set, draw->Image});
            failed_ = !StaysInHexagon(*draw->Set, draw->Image);
        }
        const std::size_t place = Place(*draw);
        // Met already on the way back: a later draw hides this one.
        if (seen_->Note(place, number))
            continue;
        std::uint8_t& size = sizes_[place];
        if (size == MostSpritesOnHex) {
            failed_ = true;
            break;
        }
        numbersByHex_[place * MostSpritesOnHex + size++] = static_cast<std::uint8_t>(number);
    }
}

std::optional<std::vector<SpriteDraw>> HexDrawGatherer::Stacked() const
{
    if (failed_)
        return std::nullopt;
    SpritesByHex hexes{std::vector<std::size_t>(Places + 1, 0), {}};
    for (std::size_t place = 0; place < Places; ++place)
        hexes.Starts[place + 1] = hexes.Starts[place] + sizes_[place];
    hexes.Sprites.reserve(hexes.Starts.back());
    // Each hex's sprites were met from its last draw back: in drawing order, they turn round.
    for (std::size_t place = 0; place < Places; ++place)
        for (std::size_t k = sizes_[place]; k-- > 0;)
            hexes.Sprites.push_back(sprites_[numbersByHex_[place * MostSpritesOnHex + k]]);
    return StackHexes(hexes);
}

int RedrawStrips()
{
    return std::clamp(static_cast<int>(std::thread::hardware_concurrency()), 1, MostStrips);
}

BandPainter::BandPainter(const std::vector<SpriteDraw>& draws, int height)
    : draws_(draws), height_(height)
{
    corners_.reserve(draws.size());
    for (const SpriteDraw& draw : draws) {
        const PixelPoint at = HexToPixel(draw.X, draw.Y);
        corners_.emplace_back(at.px, at.py);
    }
    const int bands = Bands();
    const auto bandsOf = [&](const QPoint& corner) {
        return std::pair{std::clamp(corner.y() / BandRows, 0, bands),
                         std::clamp((corner.y() + SpriteHeight - 1) / BandRows + 1, 0, bands)};
    };
    // A counting sort of the draws by band.
    starts_.assign(static_cast<std::size_t>(bands) + 1, 0);
    for (const QPoint& corner : corners_)
        for (auto [band, end] = bandsOf(corner); band < end; ++band)
            ++starts_[static_cast<std::size_t>(band) + 1];
    std::partial_sum(starts_.begin(), starts_.end(), starts_.begin());
    byBand_.resize(starts_.back());
    std::vector<std::size_t> next(starts_.begin(), starts_.end() - 1);
    for (std::size_t i = 0; i < corners_.size(); ++i)
        for (auto [band, end] = bandsOf(corners_[i]); band < end; ++band)
            byBand_[next[static_cast<std::size_t>(band)]++] = i;
}

int BandPainter::Bands() const { return (std::max(height_, 0) + BandRows - 1) / BandRows; }

int BandPainter::RowsOfBand(int band) const
{
    return std::min(BandRows, height_ - band * BandRows);
}

void BandPainter::Paint(int band, const PixelCanvas& canvas, int left, int right) const
{
    const PixelClip clip{left, 0, right, canvas.Height};
    FillBlack(canvas, clip);
    const QPoint up(0, band * BandRows);
    const auto b = static_cast<std::size_t>(band);
    for (std::size_t k = starts_[b]; k < starts_[b + 1]; ++k) {
        const std::size_t i = byBand_[k];
        DrawSpriteClipped(canvas, *draws_[i].Set, draws_[i].Image, corners_[i] - up, clip);
    }
}

void PaintDraws(QImage& target, const std::vector<SpriteDraw>& draws, int strips)
{
    const std::optional<PixelCanvas> canvas = CanvasOf(target);
    if (!canvas) {
        target.fill(Qt::black);
        for (const SpriteDraw& draw : draws) {
            const PixelPoint at = HexToPixel(draw.X, draw.Y);
            DrawSpriteAt(target, *draw.Set, draw.Image, QPoint(at.px, at.py));
        }
        return;
    }
    const BandPainter painter(draws, canvas->Height);
    const int count = std::clamp(strips, 1, MostStrips);
    OnThreads(count, [&](int i) {
        const PixelClip strip = StripOf(*canvas, count, i);
        if (strip.Left >= strip.Right)
            return;
        // Each band is small enough to stay in a core's cache between its black fill and the
        // draws over it: the fill then costs no pass of its own over memory.
        for (int band = 0; band < painter.Bands(); ++band) {
            const PixelCanvas rows{
                canvas->Bits + qsizetype{band} * BandPainter::BandRows * canvas->Pitch,
                canvas->Pitch, canvas->Width, painter.RowsOfBand(band)};
            painter.Paint(band, rows, strip.Left, strip.Right);
        }
    });
}
