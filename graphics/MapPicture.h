#pragma once
// The whole map drawn anew straight into what a file needs, without the map image: painted
// band by band, each of a thread per hardware thread (RedrawStrips) painting rows of its own,
// so that the picture is made on all cores and each band is used while it is in the cache.

#include "graphics/PngWriter.h"

#include <QImage>

// The picture of RedrawMap as PNG rows of MapImageWidth by MapImageHeight without alpha, with
// the resolution of a new image. Leaves the map image as it is.
PngRows RedrawnMapRows();
// Sets rows, which are of that size and without alpha, to the same picture.
void PaintRedrawnMap(PngRows& rows);

// The picture of RedrawMap scaled down to fit within edge by edge pixels (FitWithin), box
// filtered (BoxScaler), as an RGB32 image with the resolution of a new image.
QImage RedrawnMapThumbnail(int edge);
