#pragma once
// Pictures made smaller by a box filter: each pixel of the smaller picture is the mean of the
// pixels of the picture that fall into it, rounded to the nearest. Source column x falls into
// column x * targetWidth / sourceWidth (rounded down) and rows alike, so every source pixel
// counts once and with the same weight. Only the colours are kept: the result is opaque.

#include <QImage>
#include <QSize>
#include <cstdint>
#include <vector>

// The largest size of source's shape within edge by edge pixels, each side rounded to the
// nearest and at least 1; source itself when it fits already, since the filter only shrinks.
QSize FitWithin(QSize source, int edge);

// Source rows in, target rows out: for the target rows from firstTargetRow to before
// lastTargetRow of a target image, so that threads can each fill rows of one
// image. The source rows must come in order, from FirstSourceRow(firstTargetRow) to before
// FirstSourceRow(lastTargetRow); each target row is written once its last source row came.
class BoxScaler {
public:
    // The target's pixels, taken once from an RGB32 image, so that threads can each write rows
    // of it without touching the image object.
    struct Target {
        uchar* Bits;
        qsizetype Pitch;
        QSize Size;
    };
    static Target TargetOf(QImage& image);

    // target is no larger than source in either direction; its pixels must outlive the scaler.
    BoxScaler(QSize source, const Target& target, int firstTargetRow, int lastTargetRow);
    // The first source row that falls into target row t (Height() for t == target height).
    int FirstSourceRow(int targetRow) const;
    // Adds source row y, Width() pixels of 32 bits; their alpha is ignored.
    void AddRow(int y, const QRgb* pixels);

private:
    // Writes target row t from the sums of its source rows.
    template <typename Sum>
    void WriteTargetRow(int t, const std::vector<Sum>& sums);
    // Adds the narrow sums into the wide ones and clears them.
    void Widen();

    // Rows of bytes a 16-bit sum holds without overflow.
    static constexpr int NarrowRowLimit = 257;

    QSize source_;
    Target target_;
    int nextTargetRow_;
    int lastTargetRow_;
    // Each target column's first source column, and past the last one the source width.
    std::vector<int> columnStarts_;
    // The sums of each byte of the source rows added since the last target row: four per
    // source column, added down the rows first so that the additions run in vector registers.
    std::vector<std::uint32_t> sums_;
    // The same for the rows since the last Widen, in 16 bits, so twice as many add at once.
    std::vector<std::uint16_t> narrowSums_;
    int narrowRows_ = 0;
    // Whether the wide sums hold rows of the target row under way.
    bool wideInUse_ = false;
};
