// Copyright 2026 The Gridcrafter developers
// SPDX-License-Identifier: LicenseRef-Gridcrafter-Proprietary

#include "graphics/ViewImage.h"

#include <utility>

#include "graphics/HexGeometry.h"
#include "graphics/MapView.h"

namespace {

LayerMask Shown = AllLayers;
QImage Filtered;
QRect Changed;

}  // namespace

LayerMask ViewLayers() { return Shown; }

QImage& ViewImage() { return Shown == AllLayers ? MapImage() : Filtered; }

void SetViewLayers(LayerMask shown)
{
    Shown = shown & AllLayers;
    if (Shown == AllLayers) {
        Filtered = QImage();
    } else if (Filtered.isNull()) {
        Filtered = QImage(MapImageWidth, MapImageHeight, QImage::Format_RGB32);
        Filtered.fill(Qt::black);
    }
    NoteViewChange(QRect(0, 0, MapImageWidth, MapImageHeight));
}

void NoteViewChange(const QRect& area) { Changed |= area; }

QRect TakeViewChanges() { return std::exchange(Changed, QRect()); }
