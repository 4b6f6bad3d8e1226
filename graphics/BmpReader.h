#pragma once
// Bitmap files as images, with the checks a file from anywhere needs.

#include <QByteArray>
#include <QImage>

// The most a bitmap may take once decoded, at 4 bytes a pixel: larger ones are not valid.
inline constexpr qint64 MaxSheetBytes = qint64{64} * 1024 * 1024;

// The picture of a Windows bitmap file as a 32-bit RGB image, as Qt's reader gives it but
// for two things: a file whose pixel data is cut short, or whose picture would take more than
// MaxSheetBytes, is no valid bitmap; and the five- or six-bit channels of a 16-bit one are
// filled out, so that their white is white. A null image when the file is no valid bitmap.
QImage DecodeBmp(const QByteArray& file);
