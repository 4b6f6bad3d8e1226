// Copyright 2026 The Gridcrafter developers
// SPDX-License-Identifier: LicenseRef-Gridcrafter-Proprietary

#include "app/ZoomedView.h"

#include "app/MapImage.h"

#include <QCoreApplication>
#include <QNativeGestureEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QWheelEvent>
#include <cmath>
#include <cstdlib>

namespace {

// One notch of a wheel.
constexpr int NotchAngle = 120;
// How much a pinch grows or shrinks the picture before it makes a step.
constexpr double PinchStep = 0.15;

void ScrollTo(QScrollBar& bar, double position)
{
    bar.setValue(static_cast<int>(std::lround(position)));
}

}  // namespace

TZoomedView::TZoomedView(QScrollArea& view, TMapImage& image, QObject* parent)
    : QObject(parent), view_(view), viewport_(view.viewport()), image_(image)
{
    // The wheel and a pinch come to the widget under the pointer: the picture, or the
    // viewport beside a fitted one.
    viewport_->installEventFilter(this);
    image_.installEventFilter(this);
}

void TZoomedView::ZoomIn() { Step(zoom_.StepIn(), std::nullopt); }

void TZoomedView::ZoomOut() { Step(zoom_.StepOut(), std::nullopt); }

void TZoomedView::ActualSize() { ZoomTo(100); }

void TZoomedView::ZoomTo(int percent) { Step(percent, std::nullopt); }

void TZoomedView::FitMap()
{
    if (zoom_.Fitting())
        return;
    beforeFit_ = MapPoint(ViewCentre());
    MapZoom next = zoom_;
    next.Fit(view_.width() - 2 * view_.frameWidth(), view_.height() - 2 * view_.frameWidth());
    Show(next, {}, std::nullopt);
}

void TZoomedView::Restore(const QString& saved)
{
    MapZoom next = zoom_;
    if (saved == zoom_.Saved() || !next.Restore(saved, 0, 0))
        return;
    if (next.Fitting()) {
        FitMap();
        return;
    }
    Show(next, MapPoint(QPointF()), QPointF());
}

void TZoomedView::Step(std::optional<int> percent, std::optional<QPointF> pointer)
{
    if (!percent)
        return;
    MapZoom next = zoom_;
    next.SetPercent(*percent);
    Show(next, pointer ? MapPoint(*pointer) : KeptPoint(), pointer);
}

void TZoomedView::Show(const MapZoom& next, QPointF mapPoint, std::optional<QPointF> anchor)
{
    const bool fitting = next.Fitting();
    zoom_ = next;
    // A fitted map needs no scroll bars, and without them the view keeps its size.
    const Qt::ScrollBarPolicy bars = fitting ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAsNeeded;
    view_.setHorizontalScrollBarPolicy(bars);
    view_.setVerticalScrollBarPolicy(bars);
    view_.setAlignment(fitting ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignTop);
    image_.SetScale(zoom_.Scale());
    // The scroll bars show or hide on a queued call; taken now, the viewport has its new
    // size before the view is placed.
    QCoreApplication::sendPostedEvents(&view_, QEvent::MetaCall);
    const QPointF at = anchor.value_or(ViewCentre());
    ScrollTo(*view_.horizontalScrollBar(), mapPoint.x() * zoom_.Scale() - at.x());
    ScrollTo(*view_.verticalScrollBar(), mapPoint.y() * zoom_.Scale() - at.y());
    emit ZoomChanged();
}

QPointF TZoomedView::ViewCentre() const
{
    const QWidget* viewport = view_.viewport();
    return {viewport->width() / 2.0, viewport->height() / 2.0};
}

QPointF TZoomedView::MapPoint(QPointF at) const
{
    return (at - QPointF(image_.pos())) / zoom_.Scale();
}

QPointF TZoomedView::KeptPoint() const
{
    return zoom_.Fitting() ? beforeFit_ : MapPoint(ViewCentre());
}

bool TZoomedView::eventFilter(QObject* watched, QEvent* event)
{
    const bool onImage = watched == &image_;
    if (!onImage && watched != viewport_)
        return false;
    // Where the picture's points lie in the viewport.
    const QPointF offset = onImage ? QPointF(image_.pos()) : QPointF();
    switch (event->type()) {
    case QEvent::Wheel: return Wheel(static_cast<QWheelEvent&>(*event), offset);
    case QEvent::NativeGesture: return Pinch(static_cast<QNativeGestureEvent&>(*event), offset);
    case QEvent::Resize:
        if (!onImage && zoom_.Refit(viewport_->width(), viewport_->height())) {
            image_.SetScale(zoom_.Scale());
            emit ZoomChanged();
        }
        return false;
    default: return false;
    }
}

bool TZoomedView::Wheel(QWheelEvent& event, QPointF offset)
{
    if (!(event.modifiers() & Qt::ControlModifier))
        return false;
    const QPoint angle = event.angleDelta();
    wheelAngle_ += angle.y() != 0 ? angle.y() : angle.x();
    // A fine wheel sends parts of a notch; each whole notch is a step.
    while (std::abs(wheelAngle_) >= NotchAngle) {
        const bool in = wheelAngle_ > 0;
        wheelAngle_ -= in ? NotchAngle : -NotchAngle;
        Step(in ? zoom_.StepIn() : zoom_.StepOut(), event.position() + offset);
    }
    // Accepted, it goes no further to the viewport.
    event.accept();
    return true;
}

bool TZoomedView::Pinch(QNativeGestureEvent& event, QPointF offset)
{
    if (event.gestureType() == Qt::BeginNativeGesture)
        pinchGrowth_ = 0;
    if (event.gestureType() != Qt::ZoomNativeGesture)
        return false;
    pinchGrowth_ += event.value();
    while (std::abs(pinchGrowth_) >= PinchStep) {
        const bool in = pinchGrowth_ > 0;
        pinchGrowth_ -= in ? PinchStep : -PinchStep;
        Step(in ? zoom_.StepIn() : zoom_.StepOut(), event.position() + offset);
    }
    event.accept();
    return true;
}
