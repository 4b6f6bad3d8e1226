#pragma once
// The map image on a screen at any scale. Above one each map pixel becomes a block of whole
// screen pixels (nearest neighbour), so sprites stay sharp; below one each screen pixel is
// the average of the map pixels under it, weighted by how much of each it covers. The
// picture's pixels count from its top-left corner; pixel k of the picture covers map
// coordinates k / scale to (k + 1) / scale, and the map pixel under its centre is the one
// it shows, or the one a pointer there points at.

#include <QImage>
#include <QRect>
#include <cstdint>
#include <vector>

// The length of length map pixels at scale, in whole picture pixels, rounded up.
int ZoomedLength(int length, double scale);

// The map pixel under the centre of picture pixel k at scale, along one axis; it may lie
// outside the map.
int MapPixelAt(int k, double scale);

// The picture pixels that show some of the map pixels of area at scale.
QRect ZoomedRect(const QRect& area, double scale);

// Paints the pixels of area of the picture of source at scale (at least one) into target,
// an RGB32 image of area's size: each the map pixel under its centre, the nearest map pixel
// past the map's edges.
void PaintBlocks(const QImage& source, double scale, const QRect& area, QImage& target);

// The whole picture of a 32-bit image at a scale below one, kept, and mended where the image
// changes.
class AveragedPicture {
public:
    // Makes the picture of source at scale, ZoomedLength of its width by that of its height.
    void Make(const QImage& source, double scale);
    // Paints anew the pixels that show some of area of source, which changed since.
    void Update(const QImage& source, const QRect& area);
    // Null until made.
    const QImage& Image() const { return picture_; }
    double Scale() const { return scale_; }

private:
    // Along one axis: picture pixel k averages source pixels First[k] onwards, Weights[k] of
    // them, whose weights add up to one (WeightOne).
    struct Taps {
        std::vector<int> First;
        std::vector<int> Offset;
        std::vector<int> Count;
        std::vector<std::uint32_t> Weights;
    };
    static Taps TapsFor(int length, double scale);
    void PaintRow(const QImage& source, int row, int left, int right);

    double scale_ = 0;
    QImage picture_;
    Taps columns_;
    Taps rows_;
    // A row of source pixels summed down the rows of one picture row, four channels each.
    std::vector<std::uint32_t> sums_;
};
