#include "app/MapImage.h"

#include "editor/EditScope.h"
#include "graphics/MapView.h"
#include "graphics/ViewMarks.h"

#include <QPaintEvent>
#include <QPainter>

TMapImage::TMapImage(QWidget* parent) : QWidget(parent)
{
    // The picture covers every pixel, so nothing needs erasing first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFixedSize(MapImage().size());
}

void TMapImage::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.drawImage(event->rect(), MapImage(), event->rect());
    PaintViewMarks(painter, event->rect(), ScopeMarks());
}
