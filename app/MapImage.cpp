// Copyright 2026 The Gridcrafter developers
// SPDX-License-Identifier: LicenseRef-Gridcrafter-Proprietary

#include "app/MapImage.h"

#include "core/Catalogue.h"
#include "core/MapModel.h"
#include "editor/EditScope.h"
#include "graphics/HexLabels.h"
#include "graphics/MapView.h"
#include "graphics/SpriteLibrary.h"
#include "graphics/ViewImage.h"
#include "graphics/ViewMarks.h"

#include <QPaintEvent>
#include <QPainter>
#include <QPolygonF>
#include <QTransform>
#include <cmath>
#include <utility>

namespace {

// The cursor hex's outline: as thick as the mark's two rims at 100 %.
constexpr double OutlineWidth = 2;
// Room around a changed area for the outline drawn over its edge.
constexpr int OutlineRoom = 2;

// The corners of the hexagon of InsideHex in its sprite cell, on the pixels' edges.
const QPolygonF Hexagon(
    {{19, 0}, {48, 0}, {65, 19}, {65, 22}, {51, 38}, {16, 38}, {0, 22}, {0, 19}});

// The colour of the cursor mark's outer rim: its first opaque pixel.
QColor MarkColour()
{
    if (Holds(EffectSet, eiCursor)) {
        const QImage& mark = EffectSet.Images[eiCursor];
        for (int b = 0; b < mark.height(); ++b)
            for (int a = 0; a < mark.width(); ++a)
                if (qAlpha(mark.pixel(a, b)) != 0)
                    return mark.pixelColor(a, b);
    }
    return Qt::yellow;
}

QRect DeviceRect(const QRect& rect, double dpr)
{
    const int left = static_cast<int>(std::floor(rect.left() * dpr));
    const int top = static_cast<int>(std::floor(rect.top() * dpr));
    const int right = static_cast<int>(std::ceil((rect.right() + 1) * dpr));
    const int bottom = static_cast<int>(std::ceil((rect.bottom() + 1) * dpr));
    return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

}  // namespace

TMapImage::TMapImage(QWidget* parent) : QWidget(parent)
{
    // The picture covers every pixel, so nothing needs erasing first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFixedSize(MapImage().size());
}

void TMapImage::SetScale(double scale)
{
    scale_ = scale;
    averaged_ = AveragedPicture();
    setFixedSize(ZoomedLength(MapImage().width(), scale), ZoomedLength(MapImage().height(), scale));
    update();
}

void TMapImage::SetCoordinatesShown(bool shown)
{
    coordinates_ = shown;
    update();
}

void TMapImage::SetMarkShown(std::function<bool()> markShown) { markShown_ = std::move(markShown); }

PixelPoint TMapImage::MapPixelAt(QPointF point) const
{
    return MapPixelUnder(point, QPointF(), scale_, devicePixelRatioF());
}

void TMapImage::RepaintChanges()
{
    const QRect changed = TakeChanges();
    if (!changed.isEmpty())
        repaint(ShowingArea(changed));
}

double TMapImage::DeviceScale() const { return scale_ * devicePixelRatioF(); }

QRect TMapImage::ShowingArea(const QRect& area) const
{
    if (scale_ == 1 && devicePixelRatioF() == 1)
        return area;
    const double dpr = devicePixelRatioF();
    const QRect device = ZoomedRect(area, DeviceScale());
    const QRect view(QPoint(static_cast<int>(std::floor(device.left() / dpr)),
                            static_cast<int>(std::floor(device.top() / dpr))),
                     QPoint(static_cast<int>(std::ceil((device.right() + 1) / dpr)) - 1,
                            static_cast<int>(std::ceil((device.bottom() + 1) / dpr)) - 1));
    return view.adjusted(-OutlineRoom, -OutlineRoom, OutlineRoom, OutlineRoom);
}

QRect TMapImage::TakeChanges()
{
    const QRect changed = TakeViewChanges();
    if (!changed.isEmpty() && !averaged_.Image().isNull())
        averaged_.Update(ViewImage(), changed);
    return changed;
}

void TMapImage::paintEvent(QPaintEvent* event)
{
    // Changes made without a repaint show where they lie, now or once painted.
    const QRect changed = TakeChanges();
    if (!changed.isEmpty() && !event->rect().contains(ShowingArea(changed)))
        update(ShowingArea(changed));
    QPainter painter(this);
    if (scale_ == 1 && devicePixelRatioF() == 1)
        painter.drawImage(event->rect(), ViewImage(), event->rect());
    else
        for (const QRect& rect : event->region())
            PaintPicture(painter, rect);
    PaintMarks(painter, event->rect());
    if (coordinates_)
        DrawHexLabels(painter, scale_, event->rect());
    if (scale_ < 1 && markShown_ && markShown_())
        PaintCursorOutline(painter);
}

void TMapImage::PaintMarks(QPainter& painter, const QRect& rect) const
{
    painter.save();
    painter.scale(scale_, scale_);
    const QRect exposed =
        QTransform::fromScale(1 / scale_, 1 / scale_).mapRect(QRectF(rect)).toAlignedRect();
    PaintViewMarks(painter, exposed, ScopeMarks());
    painter.restore();
}

void TMapImage::PaintPicture(QPainter& painter, const QRect& rect)
{
    const double dpr = devicePixelRatioF();
    const QRect device = DeviceRect(rect, dpr);
    if (DeviceScale() < 1) {
        PaintAveraged(painter, device);
        return;
    }
    QImage blocks(device.size(), QImage::Format_RGB32);
    PaintBlocks(ViewImage(), DeviceScale(), device, blocks);
    blocks.setDevicePixelRatio(dpr);
    painter.drawImage(QPointF(device.topLeft()) / dpr, blocks);
}

void TMapImage::PaintAveraged(QPainter& painter, const QRect& device)
{
    const double dpr = devicePixelRatioF();
    if (averaged_.Image().isNull() || averaged_.Scale() != DeviceScale())
        averaged_.Make(ViewImage(), DeviceScale());
    QImage picture = averaged_.Image();
    picture.setDevicePixelRatio(dpr);
    const QRect shown = device & picture.rect();
    painter.drawImage(QPointF(shown.topLeft()) / dpr, picture, shown);
    // The control is whole view pixels, the picture whole device pixels: a sliver at its
    // right and bottom edges may lie beyond the picture.
    const QRegion beyond = QRegion(device) - QRegion(shown);
    for (const QRect& rest : beyond)
        painter.fillRect(QRectF(QPointF(rest.topLeft()) / dpr, QSizeF(rest.size()) / dpr),
                         Qt::black);
}

void TMapImage::PaintCursorOutline(QPainter& painter) const
{
    const PixelPoint cell = HexToPixel(CursorX, CursorY);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(Qt::NoBrush);
    painter.translate(cell.px * scale_, cell.py * scale_);
    painter.scale(scale_, scale_);
    // The pen keeps its width in view pixels.
    painter.setPen(QPen(MarkColour(), OutlineWidth / scale_));
    painter.drawPolygon(Hexagon);
    painter.restore();
}
