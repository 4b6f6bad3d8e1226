#include "graphics/MapView.h"

#include "graphics/HexGeometry.h"
#include "platform/HugePages.h"

#include <cstdlib>
#include <utility>

namespace {
std::function<void()> Repaint;
}  // namespace

QImage& MapImage()
{
    // RGB32 takes an opaque sprite pixel as it is, so drawing is a plain copy of runs. Its
    // 8 MB lie in huge pages, since first touching them page by page took a good part of the
    // render tool's time.
    static QImage image = [] {
        constexpr int Pitch = MapImageWidth * 4;
        void* pixels = AllocateInHugePages(std::size_t{Pitch} * MapImageHeight);
        QImage blank(
            static_cast<uchar*>(pixels), MapImageWidth, MapImageHeight, Pitch, QImage::Format_RGB32,
            [](void* memory) { std::free(memory); }, pixels);
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
