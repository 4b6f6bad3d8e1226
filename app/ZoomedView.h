#pragma once
// The map view's zoom at work on the scroll box: the steps, fitting the map and refitting it
// as the window is resized, Ctrl with the wheel and a touchpad's pinch. Every change keeps a
// point of the map where it was on the screen: the pointer's for the wheel and the pinch,
// the view's centre for the menu and the keys (leaving a fitted view, the centre the view
// had before fitting).

#include "editor/MapZoom.h"

#include <QObject>
#include <QPointF>
#include <optional>

class QScrollArea;
class QWidget;
class TMapImage;

class TZoomedView : public QObject {
    Q_OBJECT
public:
    // image is the widget of view.
    TZoomedView(QScrollArea& view, TMapImage& image, QObject* parent);

    const MapZoom& Zoom() const { return zoom_; }

    void ZoomIn();
    void ZoomOut();
    // 100 %.
    void ActualSize();
    void FitMap();
    // percent: a step of ZoomSteps.
    void ZoomTo(int percent);
    // The zoom that MapZoom::Saved gave, at once; anything else is ignored.
    void Restore(const QString& saved);

signals:
    void ZoomChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Goes to percent, if any, keeping the map point under pointer (a point of the viewport)
    // there; without a pointer, the point KeptPoint at the viewport's centre.
    void Step(std::optional<int> percent, std::optional<QPointF> pointer);
    // Shows next, keeping the map point mapPoint at anchor, or at the viewport's centre.
    void Show(const MapZoom& next, QPointF mapPoint, std::optional<QPointF> anchor);
    QPointF ViewCentre() const;
    // The map point, in map pixels, under a point of the viewport.
    QPointF MapPoint(QPointF at) const;
    // The map point to keep when a menu entry or a key zooms.
    QPointF KeptPoint() const;
    // offset: where the receiver's origin lies in the viewport.
    bool Wheel(class QWheelEvent& event, QPointF offset);
    bool Pinch(class QNativeGestureEvent& event, QPointF offset);

    QScrollArea& view_;
    // The scroll box's viewport, kept apart: the filter still hears of events while the scroll
    // box is being destroyed, when it may no longer be asked for it.
    QWidget* viewport_;
    TMapImage& image_;
    MapZoom zoom_;
    // The map point at the view's centre when fitting began, kept while fitting.
    QPointF beforeFit_;
    // A wheel's turns and a pinch's growth not yet made into steps.
    int wheelAngle_ = 0;
    double pinchGrowth_ = 0;
};
