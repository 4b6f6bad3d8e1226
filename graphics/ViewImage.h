#pragma once
// The picture the map view shows, and what changed in it since the view last looked. While
// every layer shows, the picture is the map image itself; while some are hidden it is a
// second image of the same size, which the renderer draws without them, so that the map
// image stays whole for Write BMP and Print.

#include "graphics/MapLayers.h"

#include <QImage>
#include <QRect>

// The layers the view shows; AllLayers at first.
LayerMask ViewLayers();

// The map image while every layer shows, otherwise the second image.
QImage& ViewImage();

// Sets the layers the view shows, making the second image (black) when a layer is hidden
// and dropping it when none is. Drawing it is the renderer's: see ShowLayers.
void SetViewLayers(LayerMask shown);

// Notes that the pixels of area (map image coordinates) changed in the view's picture.
void NoteViewChange(const QRect& area);

// The area changed since the last call, as one rectangle holding every change noted; empty
// for none.
QRect TakeViewChanges();
