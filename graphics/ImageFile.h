#pragma once
// An image into a file as PNG or as a Windows bitmap, chosen by the file's name: the one
// writer of the render tool and of Export image.

#include "graphics/MapLayers.h"

#include <QImage>
#include <QString>

// Whether path names a PNG image: its name ends in ".png", in any letter case.
bool IsPngPath(const QString& path);

// image as path: PNG when IsPngPath(path), otherwise the bitmap of WriteBmpFile, byte for
// byte. Either goes into a new file renamed over path once whole (WriteFileUnsynced). Throws
// GcError naming path and the reason; a failed write leaves what path held.
void WriteImageFile(const QString& path, const QImage& image);

// What WriteImageFile(path, MapImage()) writes after RedrawMap, the whole map drawn anew
// with the layers of shown only. A bitmap is painted band by band as its rows are written,
// which spares the map image's 8 MB and leaves the map image as it was; a PNG is made from
// the map image.
void WriteRedrawnMapFile(const QString& path, LayerMask shown = AllLayers);
