#pragma once
// PNG images written quickly: the rows are stored unfiltered and compressed by Intel's ISA-L at
// its quickest level that still looks for repeats, in parts on threads apart. On map pictures
// that is ten times quicker than Qt's writer (zlib at its default level, rows filtered), and
// the files come out smaller, since the sprites repeat whole and filtering hides the repeats.
// The pixels are Qt's: 8-bit RGB, or RGBA with straight alpha where the image has an alpha
// channel.

#include <QImage>
#include <QString>
#include <memory>
#include <vector>

// Writes PNG files one after the other, keeping its buffers between them. An image's rows are
// cut into Parts() runs, each compressed as its rows come, one part per thread if the caller
// likes: no more than a few rows of pixels are ever held, only the compressed data.
class PngEncoder {
public:
    explicit PngEncoder(int parts = 1);
    ~PngEncoder();
    PngEncoder(const PngEncoder&) = delete;
    PngEncoder& operator=(const PngEncoder&) = delete;

    // Starts an image. Throws GcError for an empty size, or an image whose rows are more than
    // 1 GiB, which a chunk could not be sure to hold once compressed.
    void Begin(int width, int height, bool alpha);
    int Parts() const;
    // The first row of a part of the image begun, FirstRow(Parts()) its height.
    int FirstRow(int part) const;
    // Adds the next row of part from width pixels: straight ARGB (QImage::Format_ARGB32) with
    // alpha, without it their alpha is ignored. Parts apart may be added to on threads apart.
    void AddRow(int part, const QRgb* pixels);
    // Once every row is added: the image as a PNG file at path, declaring the resolution given
    // (0 for none), written into a new file renamed over path once whole (WriteFileUnsynced).
    // Throws GcError naming path and the system's reason; a failed write leaves what path held.
    void Write(const QString& path, int dotsPerMeterX, int dotsPerMeterY);

private:
    class Part;
    std::vector<std::unique_ptr<Part>> parts_;
    int width_ = 0;
    int height_ = 0;
    bool alpha_ = false;
};

// Whether WritePngFile keeps every pixel of an image of this format: those of at most 8 bits a
// channel.
bool PngWriterTakes(QImage::Format format);

// image as a PNG file at path, RGB, or RGBA where it has an alpha channel; its resolution kept.
// For the formats PngWriterTakes. Throws GcError for a null image, and as PngEncoder::Write.
void WritePngFile(const QString& path, const QImage& image);
