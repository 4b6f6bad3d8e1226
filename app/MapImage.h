#pragma once
// The image control that shows the view's picture of the map (ViewImage) inside the map view,
// at the zoom's scale: the map image pixel for pixel at 1, whole-pixel blocks above,
// averaged below (ZoomedPicture), in device pixels on high-density screens. Over it, at
// paint time: the selection's and the symmetry's marks, the hexes' coordinates when asked, and
// below scale 1 an outline of the cursor hex while its mark shows, since the mark thins out with
// the picture.

#include "editor/MapZoom.h"
#include "graphics/ZoomedPicture.h"

#include <QWidget>
#include <functional>

class TMapImage : public QWidget {
    Q_OBJECT
public:
    explicit TMapImage(QWidget* parent = nullptr);

    // Shows the map at scale view pixels per map pixel, taking the picture's size.
    void SetScale(double scale);
    double Scale() const { return scale_; }

    // Draws the hexes' coordinates (HexLabels) over the map, or not.
    void SetCoordinatesShown(bool shown);
    bool CoordinatesShown() const { return coordinates_; }

    // markShown tells whether the cursor mark shows (editing mode), for its outline.
    void SetMarkShown(std::function<bool()> markShown);

    // The map pixel under point, in this control's coordinates.
    PixelPoint MapPixelAt(QPointF point) const;

    // Repaints at once the part of the picture that shows what changed since the last
    // repaint (TakeViewChanges); the map view's "repaint now".
    void RepaintChanges();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    double DeviceScale() const;
    // The control's pixels that show some of area of the map image, with room for the
    // outline and the labels drawn over it.
    QRect ShowingArea(const QRect& area) const;
    // Brings the averaged picture up to the changes made since; returns them.
    QRect TakeChanges();
    void PaintPicture(QPainter& painter, const QRect& rect);
    void PaintAveraged(QPainter& painter, const QRect& device);
    // The selection's and the symmetry's marks (ScopeMarks) over rect of this control.
    void PaintMarks(QPainter& painter, const QRect& rect) const;
    void PaintCursorOutline(QPainter& painter) const;

    double scale_ = 1;
    bool coordinates_ = false;
    std::function<bool()> markShown_;
    // The picture below device scale 1, made at first need.
    AveragedPicture averaged_;
};
