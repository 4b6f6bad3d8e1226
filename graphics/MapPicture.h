#pragma once
// The whole map drawn anew straight into what a file needs, without the map image: painted
// band by band, each of a thread per hardware thread (RedrawStrips) painting rows of its own,
// so that the picture is made on all cores and each band is used while it is in the cache.

#include "graphics/MapLayers.h"
#include "graphics/PngWriter.h"

#include <QImage>
#include <QString>

// The picture of RedrawMap with the layers of shown only as a PNG file at path, without alpha,
// with the resolution of a new image, as PngEncoder::Write: each part of encoder painted and
// compressed on a thread of its own. Leaves the map image as it is.
void WriteRedrawnMapPng(PngEncoder& encoder, const QString& path, LayerMask shown = AllLayers);

// The picture of RedrawMap with the layers of shown only, scaled down to fit within edge by edge
// pixels (FitWithin), box filtered (BoxScaler), as an RGB32 image with the resolution of a new
// image.
QImage RedrawnMapThumbnail(int edge, LayerMask shown = AllLayers);
