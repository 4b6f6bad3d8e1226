#pragma once
// Many maps rendered in one run, the sheets loaded once: gridcrafter-render --out-dir.

#include "graphics/MapLayers.h"

#include <QString>
#include <QStringList>

struct BatchRequest {
    QStringList Maps;
    QString OutDir;
    // Thumbnails within Edge by Edge pixels; 0 for the whole map image.
    int Edge = 0;
    bool Png = true;
    // No notes on standard error, only failures.
    bool Quiet = false;
    // The layers drawn (--hide).
    LayerMask Shown = AllLayers;
};

// Renders each map into OutDir/<name>.png or .bmp, the sheets being loaded already. A map that
// cannot be read or written is named on standard error and the rest go on. Shows a progress
// line on standard error when that is a terminal and there are more than a handful of maps.
// Returns the exit status: 1 when any map failed, else 0.
int RenderBatch(const BatchRequest& request);
