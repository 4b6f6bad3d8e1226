#include "graphics/SpriteLibrary.h"

#include "graphics/HexGeometry.h"
#include "graphics/MapView.h"
#include "platform/WinPath.h"
#include "settings/Settings.h"

#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <limits>
#include <map>
#include <numbers>
#include <optional>
#include <unordered_map>
#include <utility>

SpriteSet HeightSet;
SpriteSet EffectSet;
SpriteSet GroundSet;
std::array<SpriteSet, 7> MechSets;
std::array<SpriteSet, 7> RoadSets;
std::array<SpriteSet, 7> RiverSets;
QImage BaseTile;

namespace {

constexpr QRgb White = 0xffffffff;
constexpr QRgb ColourBits = 0x00ffffff;
constexpr QRgb OpaqueAlpha = 0xff000000;
constexpr int BytesPerPixel = 4;

// Pair sheets: a mask cell, a one-pixel gap, its image cell; four pairs to a row.
constexpr int PairStep = 134;
constexpr int ImageOffset = 67;
constexpr int RowPitch = 39;
constexpr int PairsPerRow = 4;
// The heights sheet: the shared mask, then the seven height images, in one row.
constexpr int HeightCellStep = 67;
constexpr int HeightImages = 7;
// Road and river sheets: the arm toward the edge, then the centre piece.
constexpr int JoinSprites = 2;
constexpr int TurnedFacings = 5;

// The point the turn goes round: row 19, one above the hexagon's middle row.
constexpr double TurnCentreA = 33;
constexpr double TurnCentreB = 19;

struct Shift {
    int right;
    int down;
};
// By direction; 1 and 4 stay where turning put them.
constexpr Shift JoinNudges[7] = {{0, 0}, {0, 0}, {8, -1}, {8, 1}, {0, 0}, {-8, 0}, {-8, 0}};

std::function<std::unique_ptr<SpriteProgress>()> ProgressFactory;
bool SetsCreated = false;
// A failed reload leaves the sets as it got them, and they go on drawing.
bool LoadFinishedOnce = false;

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

qint64 PositiveCount(std::int32_t count) { return std::max<qint64>(count, 0); }

void StepProgress(SpriteProgress* progress, qint64 steps = 1)
{
    if (progress && steps > 0)
        progress->Step(static_cast<int>(std::min<qint64>(steps, std::numeric_limits<int>::max())));
}

QImage WhiteCell()
{
    QImage cell(SpriteWidth, SpriteHeight, QImage::Format_RGB32);
    cell.fill(White);
    return cell;
}

QRgb* Row(QImage& image, int y) { return reinterpret_cast<QRgb*>(image.scanLine(y)); }
const QRgb* Row(const QImage& image, int y)
{
    return reinterpret_cast<const QRgb*>(image.constScanLine(y));
}

std::size_t PixelBytes(int pixels) { return static_cast<std::size_t>(pixels) * BytesPerPixel; }

// The 66 by 38 rectangle of sheet at (left, top); where it lies outside the sheet it is
// white, which a mask reads as transparent.
QImage CutCell(const QImage& sheet, int left, int top)
{
    QImage cell = WhiteCell();
    const QRect area = QRect(left, top, SpriteWidth, SpriteHeight) & sheet.rect();
    for (int y = area.top(); y <= area.bottom(); ++y)
        std::memcpy(Row(cell, y - top) + (area.left() - left), Row(sheet, y) + area.left(),
                    PixelBytes(area.width()));
    return cell;
}

// The sheet at path (Windows-style) as an RGB32 image.
QImage ReadSheet(const QString& path)
{
    const QString native = NativePath(path);
    const QFileInfo info(native);
    QFile file(native);
    // A FIFO or device would block or never end; only plain files are sheets.
    if ((info.exists() && !info.isFile()) || !file.open(QIODevice::ReadOnly))
        throw SpriteSheetError(QStringLiteral("Cannot open file ") + path, path);
    const QImage sheet = DecodeBmp(file.readAll());
    if (sheet.isNull())
        throw SpriteSheetError(QStringLiteral("Bitmap image is not valid"), path);
    return sheet;
}

QString SheetPath(const QString& fileName) { return SpriteDir + fileName; }

QPoint MaskCellOrigin(int i)
{
    return {PairStep * (i % PairsPerRow), RowPitch * (i / PairsPerRow)};
}

// Cells of rows that begin below the sheet would be wholly transparent: they are left out
// and their indexes draw nothing, so a count far beyond the sheet costs nothing.
int CellsToCut(const QImage& sheet, std::int32_t count)
{
    const qint64 rowsReached = (static_cast<qint64>(sheet.height()) + RowPitch - 1) / RowPitch;
    return static_cast<int>(std::clamp<qint64>(count, 0, rowsReached * PairsPerRow));
}

void Empty(SpriteSet& set) { set = SpriteSet(); }

void EmptyFacingSets(std::array<SpriteSet, 7>& sets)
{
    for (SpriteSet& set : sets)
        Empty(set);
}

void LoadHeights(SpriteProgress* progress)
{
    const QImage sheet = ReadSheet(SheetPath(QStringLiteral("Height.BMP")));
    Empty(HeightSet);
    const QImage mask = CutCell(sheet, 0, 0);
    for (int h = 0; h < HeightImages; ++h) {
        const QImage image = CutCell(sheet, HeightCellStep * (h + 1), 0);
        AddSprite(HeightSet, image, mask);
        if (h == 0)
            BaseTile = image;
        StepProgress(progress);
    }
}

void LoadPlainSheet(const QString& name, std::int32_t count, SpriteSet& set,
                    SpriteProgress* progress)
{
    const QImage sheet = ReadSheet(SheetPath(name + QStringLiteral(".BMP")));
    Empty(set);
    const int cells = CellsToCut(sheet, count);
    for (int i = 0; i < cells; ++i) {
        const QPoint at = MaskCellOrigin(i);
        AddSprite(set, CutCell(sheet, at.x() + ImageOffset, at.y()),
                  CutCell(sheet, at.x(), at.y()));
        StepProgress(progress);
    }
    // The cells below the sheet are counted all the same, so that the bar ends full.
    StepProgress(progress, PositiveCount(count) - cells);
}

float FacingAngle(int d) { return static_cast<float>((d - 1) * std::numbers::pi / 3); }

void LoadTurnedSheet(const QString& name, std::int32_t count, std::array<SpriteSet, 7>& sets,
                     bool nudge, SpriteProgress* progress)
{
    const QImage sheet = ReadSheet(SheetPath(name + QStringLiteral(".BMP")));
    EmptyFacingSets(sets);
    const int cells = CellsToCut(sheet, count);
    for (int i = 0; i < cells; ++i) {
        const QPoint at = MaskCellOrigin(i);
        const QImage mask = CutCell(sheet, at.x(), at.y());
        const QImage image = CutCell(sheet, at.x() + ImageOffset, at.y());
        AddSprite(sets[1], image, mask);
        for (int d = 2; d <= 6; ++d) {
            QImage turnedMask = WhiteCell();
            QImage turnedImage = WhiteCell();
            TurnCell(mask, turnedMask, FacingAngle(d));
            TurnCell(image, turnedImage, FacingAngle(d));
            if (nudge) {
                NudgeJoinCell(turnedImage, d);
                NudgeJoinCell(turnedMask, d);
            }
            AddSprite(sets[static_cast<std::size_t>(d)], turnedImage, turnedMask);
            StepProgress(progress);
        }
    }
    StepProgress(progress, TurnedFacings * (PositiveCount(count) - cells));
}

void LoadSheets(SpriteProgress* progress)
{
    Stacks.clear();
    LoadHeights(progress);
    LoadPlainSheet(QStringLiteral("EFFECTS"), EffectSpriteCount, EffectSet, progress);
    LoadPlainSheet(QStringLiteral("GROUND"), GroundSpriteCount, GroundSet, progress);
    LoadTurnedSheet(QStringLiteral("MECHS"), MechSpriteCount, MechSets, false, progress);
    LoadTurnedSheet(QStringLiteral("ROAD"), JoinSprites, RoadSets, true, progress);
    LoadTurnedSheet(QStringLiteral("RIVER"), JoinSprites, RiverSets, true, progress);
    LoadFinishedOnce = true;
}

// The opaque stretches of each row of a premultiplied sprite whose alpha is 0 or 255.
std::vector<OpaqueRun> OpaqueRuns(const QImage& sprite)
{
    std::vector<OpaqueRun> runs;
    for (int b = 0; b < SpriteHeight; ++b) {
        const QRgb* row = Row(sprite, b);
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

bool Holds(const SpriteSet& set, int n)
{
    return n >= 0 && n < set.Count() && static_cast<std::size_t>(n) < set.Runs.size();
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

void AddSprite(SpriteSet& set, const QImage& image, const QImage& mask)
{
    // A cell of another size is taken as far as it reaches; the rest is transparent.
    const QImage colours = CutCell(image.convertToFormat(QImage::Format_RGB32), 0, 0);
    const QImage maskColours = CutCell(mask.convertToFormat(QImage::Format_RGB32), 0, 0);
    QImage sprite(SpriteWidth, SpriteHeight, QImage::Format_ARGB32_Premultiplied);
    for (int b = 0; b < SpriteHeight; ++b) {
        const QRgb* source = Row(colours, b);
        const QRgb* maskRow = Row(maskColours, b);
        QRgb* out = Row(sprite, b);
        for (int a = 0; a < SpriteWidth; ++a)
            out[a] = (maskRow[a] & ColourBits) != ColourBits ? (source[a] | OpaqueAlpha) : 0;
    }
    set.Runs.push_back(OpaqueRuns(sprite));
    set.Images.push_back(std::move(sprite));
}

void SetSpriteProgressFactory(std::function<std::unique_ptr<SpriteProgress>()> factory)
{
    ProgressFactory = std::move(factory);
}

int SpriteProgressMaximum()
{
    const qint64 maximum =
        HeightImages + PositiveCount(EffectSpriteCount) + PositiveCount(GroundSpriteCount) +
        TurnedFacings * PositiveCount(MechSpriteCount) + 2 * TurnedFacings * JoinSprites;
    return static_cast<int>(std::min<qint64>(maximum, std::numeric_limits<int>::max()));
}

void LoadSpriteLibrary()
{
    // Released when loading ends; on a failure too, since a borderless window that
    // stayed would cover the editor and could not be closed.
    const std::unique_ptr<SpriteProgress> window = ProgressFactory ? ProgressFactory() : nullptr;
    if (window)
        window->SetMaximum(SpriteProgressMaximum());
    BaseTile = WhiteCell();
    Empty(HeightSet);
    Empty(EffectSet);
    Empty(GroundSet);
    EmptyFacingSets(MechSets);
    EmptyFacingSets(RoadSets);
    EmptyFacingSets(RiverSets);
    SetsCreated = true;
    LoadFinishedOnce = false;
    LoadSheets(window.get());
}

void LoadSpriteSheets() { LoadSheets(nullptr); }

void FreeSpriteLibrary()
{
    BaseTile = QImage();
    Empty(GroundSet);
    Empty(HeightSet);
    Empty(EffectSet);
    for (std::size_t d = 1; d <= 6; ++d) {
        Empty(MechSets[d]);
        Empty(RoadSets[d]);
        Empty(RiverSets[d]);
    }
    Stacks.clear();
    SetsCreated = false;
    LoadFinishedOnce = false;
}

bool SpriteLibraryReady() { return SetsCreated && LoadFinishedOnce; }

void DrawSprite(const SpriteSet& set, int n, int x, int y)
{
    const PixelPoint at = HexToPixel(x, y);
    DrawSpriteAt(MapImage(), set, n, QPoint(at.px, at.py));
}

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
        QRgb* out = Row(cell, b);
        const QRgb* in = Row(scratch, sb);
        for (int a = std::max(shift.right, 0); a < SpriteWidth + std::min(shift.right, 0); ++a)
            out[a] = in[a - shift.right];
    }
    WhitenOutsideHex(cell);
}

void WhitenOutsideHex(QImage& cell)
{
    const HexagonStretches& hexagon = Hexagon();
    for (int b = 0; b < SpriteHeight; ++b) {
        QRgb* out = Row(cell, b);
        const auto row = static_cast<std::size_t>(b);
        std::fill(out, out + hexagon.First[row], White);
        std::fill(out + hexagon.Last[row] + 1, out + SpriteWidth, White);
    }
}
