#pragma once
// PNG images written quickly: the rows are stored unfiltered and compressed in one go by
// Intel's ISA-L at its quickest level that still looks for repeats. On map pictures that is
// ten times quicker than Qt's writer (zlib at its default level, rows filtered) and the files
// come out smaller, since the sprites repeat whole and filtering hides the repeats. The pixels are Qt's: 8-bit RGB, or RGBA
// with straight alpha where the image has an alpha channel.

#include <QImage>
#include <QString>
#include <cstddef>
#include <memory>
#include <span>

// The pixel rows of a PNG image as its compressed data holds them: each row a filter byte
// (none) and then the pixels as RGB, or RGBA. Kept in huge pages, since first touching the 6 MB
// of a map picture page by page takes longer than compressing it.
class PngRows {
public:
    // Throws GcError for an empty size, or rows of more than 1 GiB, which one data chunk could
    // not be sure to hold once compressed.
    PngRows(int width, int height, bool alpha);
    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Alpha() const { return alpha_; }
    // Sets row y from width pixels. Colours are taken as they are; with Alpha() the pixels are
    // straight ARGB (QImage::Format_ARGB32), without it their alpha is ignored. Rows apart may
    // be set on threads apart.
    void SetRow(int y, const QRgb* pixels);
    std::span<const uchar> Bytes() const;

    // The resolution the file declares; 0 for none.
    int DotsPerMeterX = 0;
    int DotsPerMeterY = 0;

private:
    int width_;
    int height_;
    bool alpha_;
    std::size_t rowBytes_;
    std::unique_ptr<uchar, void (*)(void*)> bytes_;
};

// Writes PNG files one after the other, keeping its compressor and output buffer between them.
class PngEncoder {
public:
    PngEncoder();

    // rows as a PNG file at path, written into a new file renamed over path once whole
    // (WriteFileUnsynced). Throws GcError naming path and the system's reason; a failed write
    // leaves what path held.
    void Write(const QString& path, const PngRows& rows);

private:
    // bytes as one zlib stream into out; returns its length.
    std::size_t Compress(std::span<const uchar> bytes, uchar* out, std::size_t room);

    std::unique_ptr<uchar, void (*)(void*)> levelBuffer_;
    std::unique_ptr<uchar, void (*)(void*)> compressed_;
    std::size_t capacity_ = 0;
};

// Whether WritePngFile keeps every pixel of an image of this format: those of at most 8 bits a
// channel.
bool PngWriterTakes(QImage::Format format);

// The rows of image: RGB, or RGBA where it has an alpha channel; its resolution kept. For the
// formats PngWriterTakes. Throws GcError for a null image.
PngRows PngRowsOf(const QImage& image);

// PngEncoder().Write(path, PngRowsOf(image)).
void WritePngFile(const QString& path, const QImage& image);
