#pragma once
// An image into a file as PNG or as a Windows bitmap, chosen by the file's name: the one
// writer of the render tool and of Export image.

#include "graphics/MapLayers.h"

#include <QImage>
#include <QString>

// Whether path names a PNG image: its name ends in ".png", in any letter case.
bool IsPngPath(const QString& path);

// image as path: PNG when IsPngPath(path), by our PNG writer (WritePngFile) where it takes the
// image's format and by Qt's otherwise; else the bitmap of WriteBmpFile, byte for byte. Either
// goes into a new file renamed over path once whole (WriteFileUnsynced). Throws
// GcError naming path and the reason; a failed write leaves what path held.
void WriteImageFile(const QString& path, const QImage& image);

// What WriteImageFile(path, MapImage()) writes after RedrawMap, the whole map drawn anew
// with the layers of shown only, without the map image's 8 MB and leaving the map image as it
// was: a bitmap is painted band by band as its rows are written, a PNG's rows are painted and
// compressed on all cores (WriteRedrawnMapPng).
void WriteRedrawnMapFile(const QString& path, LayerMask shown = AllLayers);
