#include "graphics/MapView.h"

#include "graphics/HexGeometry.h"

#include <utility>

namespace {
std::function<void()> Repaint;
}  // namespace

QImage& MapImage()
{
    // RGB32 takes an opaque sprite pixel as it is, so drawing is a plain copy of runs.
    static QImage image = [] {
        QImage blank(MapImageWidth, MapImageHeight, QImage::Format_RGB32);
        blank.fill(Qt::black);
        return blank;
    }();
    return image;
}

void RepaintMapView()
{
    if (Repaint)
        Repaint();
}

void SetMapViewRepaint(std::function<void()> repaint) { Repaint = std::move(repaint); }
