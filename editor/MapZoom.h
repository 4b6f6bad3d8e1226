#pragma once
// The map view's zoom: one of the steps from 25 to 400 %, or fitting the whole map into the
// view; and where a point of the view lies on the map image. The view's widget, the mouse
// and the keyboard's scroll band all work from it, so that at 100 % each reduces to the
// plain pixel of the map image.

#include "graphics/HexGeometry.h"

#include <QPointF>
#include <QString>
#include <array>
#include <optional>

inline constexpr std::array<int, 10> ZoomSteps = {25, 33, 50, 67, 75, 100, 150, 200, 300, 400};

// The scale of a step of ZoomSteps: percent / 100, but a third for 33 and two thirds for 67.
double StepScale(int percent);

class MapZoom {
public:
    // View pixels per map pixel: 1 at 100 %.
    double Scale() const { return scale_; }
    // The step shown; none while fitting.
    std::optional<int> Percent() const;
    bool Fitting() const { return fitting_; }

    // Goes to percent, a step of ZoomSteps, and stops fitting.
    void SetPercent(int percent);
    // Shows the whole map in a view of width by height pixels at the largest scale that fits,
    // and keeps fitting on Refit until a step is set.
    void Fit(int width, int height);
    // While fitting, the scale for a view of the new size; returns whether the scale changed.
    bool Refit(int width, int height);

    // The first step above the scale, to zoom in to; none from 400 %.
    std::optional<int> StepIn() const;
    // The first step below the scale, to zoom out to; none from 25 %.
    std::optional<int> StepOut() const;

    // The zoom as the preferences keep it: "fit" or the step's percent, such as "150".
    QString Saved() const;
    // The zoom Saved gave, fitting a view of width by height; false, and the zoom as it was,
    // for anything else.
    bool Restore(const QString& saved, int width, int height);

private:
    double scale_ = 1;
    int percent_ = 100;
    bool fitting_ = false;
};

// The map pixel shown under point, a point of the view. The picture of the map at scale has
// its top-left corner at origin in the view (negative coordinates when scrolled), and each
// view pixel is dpr device pixels: the point lies in a device pixel, which shows the map
// pixel under its centre. May lie outside the map image.
PixelPoint MapPixelUnder(QPointF point, QPointF origin, double scale, double dpr);

// The hex whose hexagon holds the map pixel under point, as MapPixelUnder finds it.
std::optional<HexAddress> HexUnder(QPointF point, QPointF origin, double scale, double dpr);
