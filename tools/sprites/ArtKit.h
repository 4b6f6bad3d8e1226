#pragma once
// Drawing helpers shared by the sprite artwork: canvases, grain, scatter and the conversion
// of painted art into a mask cell and an image cell.

#include <QColor>
#include <QImage>
#include <QPointF>
#include <functional>
#include <vector>

class QPainter;

// One sprite as the sheets hold it: mask cell (white transparent, black shown) and image cell.
struct SpriteCells {
    QImage Mask;
    QImage Image;
};

// The pixel that facings turn about, and its centre in painter coordinates.
inline constexpr int TurnPixelX = 33;
inline constexpr int TurnPixelY = 19;
inline const QPointF TurnCentre{TurnPixelX + 0.5, TurnPixelY + 0.5};

// Ground tiles leave the height tile visible in two corners of the hexagon: the top left,
// under the grid line, left of the north arm and above the north-west arm of roads and rivers,
// where the height's digit stands; and the west corner, between the north-west and south-west
// arms, where its contour rings show. Nothing drawn over a hex hides its height.
bool InHeightWindow(int a, int b);
// Whether art drawn at the pixel stays clear of the window and its one-pixel seam.
bool ClearOfHeightWindow(int a, int b);

// A 66 by 38 canvas painted by draw with antialiasing on.
QImage PaintCell(QColor fill, const std::function<void(QPainter&)>& draw);

// A deterministic value in [0, 1) for a pixel and a seed.
double Noise(int a, int b, unsigned seed);
// Varies the brightness of every pixel by up to +-amount, so flat fills read as a surface.
void Grain(QImage& art, double amount, unsigned seed);
QColor Shade(QColor colour, double factor);

// Points spread over the hexagon, at least margin pixels inside it and clear of the height
// window, in a fixed pseudo-random order.
std::vector<QPointF> Scatter(int count, unsigned seed, int margin);

// Whether the pixel lies in the band of the given width along the inside of the hexagon edge.
bool OnHexRim(int a, int b, int width);

// Opaque art: the image is the art, the mask shows the pixels for which shown holds.
SpriteCells OpaqueCells(const QImage& art, const std::function<bool(int, int)>& shown);
// Art on a transparent canvas: the mask shows the pixels of the hexagon that the art covers.
// With dither, thinly
// covered pixels are shown in a checkerboard, so the ground glimmers through.
SpriteCells OverlayCells(const QImage& art, bool dither = false);
