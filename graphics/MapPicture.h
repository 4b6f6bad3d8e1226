#pragma once
// The whole map drawn anew straight into what a file needs, without the map image: painted
// band by band, each of a thread per hardware thread (RedrawStrips) painting rows of its own,
// so that the picture is made on all cores and each band is used while it is in the cache.

#include "graphics/MapLayers.h"
#include "graphics/PngWriter.h"

#include <QImage>

// The picture of RedrawMap with the layers of shown only, as PNG rows of MapImageWidth by
// MapImageHeight without alpha, with the resolution of a new image. Leaves the map image as it
// is.
PngRows RedrawnMapRows(LayerMask shown = AllLayers);
// Sets rows, which are of that size and without alpha, to the same picture.
void PaintRedrawnMap(PngRows& rows, LayerMask shown = AllLayers);

// The picture of RedrawMap with the layers of shown only, scaled down to fit within edge by edge
// pixels (FitWithin), box filtered (BoxScaler), as an RGB32 image with the resolution of a new
// image.
QImage RedrawnMapThumbnail(int edge, LayerMask shown = AllLayers);
