// Copyright 2026 The Gridcrafter developers
// SPDX-License-Identifier: LicenseRef-Gridcrafter-Proprietary

#include "editor/MapZoom.h"

#include "graphics/ZoomedPicture.h"

#include <algorithm>
#include <cmath>

namespace {

const QString FitSaved = QStringLiteral("fit");

// However small or large the view, the fitted map stays something to look at.
constexpr double SmallestFit = 1.0 / 16;
constexpr double LargestFit = 8;

// Two scales that a step and a fitted view share count as the same.
constexpr double Near = 1e-6;

}  // namespace

double StepScale(int percent)
{
    switch (percent) {
    case 33: return 1.0 / 3;
    case 67: return 2.0 / 3;
    default: return percent / 100.0;
    }
}

std::optional<int> MapZoom::Percent() const
{
    return fitting_ ? std::nullopt : std::optional<int>(percent_);
}

void MapZoom::SetPercent(int percent)
{
    percent_ = percent;
    scale_ = StepScale(percent);
    fitting_ = false;
}

void MapZoom::Fit(int width, int height)
{
    fitting_ = true;
    Refit(width, height);
}

bool MapZoom::Refit(int width, int height)
{
    if (!fitting_)
        return false;
    const double fit = std::min(static_cast<double>(width) / MapImageWidth,
                                static_cast<double>(height) / MapImageHeight);
    const double scale = std::clamp(fit, SmallestFit, LargestFit);
    const bool changed = scale != scale_;
    scale_ = scale;
    return changed;
}

std::optional<int> MapZoom::StepIn() const
{
    const auto next = std::find_if(ZoomSteps.begin(), ZoomSteps.end(),
                                   [this](int step) { return StepScale(step) > scale_ + Near; });
    return next == ZoomSteps.end() ? std::nullopt : std::optional<int>(*next);
}

std::optional<int> MapZoom::StepOut() const
{
    const auto next = std::find_if(ZoomSteps.rbegin(), ZoomSteps.rend(),
                                   [this](int step) { return StepScale(step) < scale_ - Near; });
    return next == ZoomSteps.rend() ? std::nullopt : std::optional<int>(*next);
}

QString MapZoom::Saved() const { return fitting_ ? FitSaved : QString::number(percent_); }

bool MapZoom::Restore(const QString& saved, int width, int height)
{
    if (saved == FitSaved) {
        Fit(width, height);
        return true;
    }
    bool number = false;
    const int percent = saved.toInt(&number);
    if (!number || std::find(ZoomSteps.begin(), ZoomSteps.end(), percent) == ZoomSteps.end())
        return false;
    SetPercent(percent);
    return true;
}

PixelPoint MapPixelUnder(QPointF point, QPointF origin, double scale, double dpr)
{
    const auto device = [dpr](double view) { return static_cast<int>(std::floor(view * dpr)); };
    const QPointF inPicture = point - origin;
    return {MapPixelAt(device(inPicture.x()), scale * dpr),
            MapPixelAt(device(inPicture.y()), scale * dpr)};
}

std::optional<HexAddress> HexUnder(QPointF point, QPointF origin, double scale, double dpr)
{
    const PixelPoint pixel = MapPixelUnder(point, origin, scale, dpr);
    return HexAtPixel(pixel.px, pixel.py);
}
