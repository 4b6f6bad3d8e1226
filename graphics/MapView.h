#pragma once
// The map image everything is drawn into, and the "repaint now" of the control showing it.

#include <QImage>
#include <functional>

// 1590 by 1301, black where nothing is drawn; created on first use.
QImage& MapImage();

// Repaints the map view at once; does nothing until a view is attached.
void RepaintMapView();
void SetMapViewRepaint(std::function<void()> repaint);
