// Copyright 2026 The Gridcrafter developers
// SPDX-License-Identifier: LicenseRef-Gridcrafter-Proprietary

#include "graphics/HexLabels.h"

#include "core/HexGrid.h"
#include "graphics/HexGeometry.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QStaticText>
#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr double LabelPixels = 9;
// Past 200 % the labels grow no further: they label the hexes, not cover them.
constexpr int LargestLabelPixels = 18;
// From the top of the sprite cell to the top of the box, at scale 1.
constexpr double LabelTop = 1;
const QColor Box(0, 0, 0, 170);

QFont LabelFont(double scale)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setBold(true);
    font.setPixelSize(std::clamp(static_cast<int>(std::lround(LabelPixels * scale)),
                                 SmallestLabelPixels, LargestLabelPixels));
    return font;
}

// The labels laid out once for a type: a fitted view draws a thousand of them anew each time.
const std::vector<QStaticText>& LaidOutLabels(const QFont& font)
{
    static QFont laidOutFor;
    static std::vector<QStaticText> labels;
    if (labels.empty() || font != laidOutFor) {
        labels.clear();
        for (int x = 1; x <= MapSize; ++x)
            for (int y = 1; y <= MapSize; ++y) {
                QStaticText& label = labels.emplace_back(HexLabel(x, y));
                label.setTextFormat(Qt::PlainText);
                label.prepare(QTransform(), font);
            }
        laidOutFor = font;
    }
    return labels;
}

}  // namespace

QString HexLabel(int x, int y)
{
    return QStringLiteral("%1%2").arg(x, 2, 10, QLatin1Char('0')).arg(y, 2, 10, QLatin1Char('0'));
}

void DrawHexLabels(QPainter& painter, double scale, const QRect& area)
{
    const QFont font = LabelFont(scale);
    const QFontMetricsF metrics(font);
    const double width = metrics.horizontalAdvance(QStringLiteral("0000")) + 4;
    const double height = metrics.height();
    const std::vector<QStaticText>& labels = LaidOutLabels(font);
    painter.save();
    painter.setFont(font);
    painter.setPen(Qt::white);
    // A thousand boxes are measured in microseconds; only those in area are drawn.
    auto label = labels.begin();
    for (int x = 1; x <= MapSize; ++x)
        for (int y = 1; y <= MapSize; ++y, ++label) {
            const PixelPoint cell = HexToPixel(x, y);
            const QRectF box((cell.px + SpriteWidth / 2.0) * scale - width / 2,
                             (cell.py + LabelTop) * scale, width, height);
            if (!box.intersects(area))
                continue;
            painter.fillRect(box, Box);
            const QSizeF text = label->size();
            painter.drawStaticText(box.center() - QPointF(text.width(), text.height()) / 2, *label);
        }
    painter.restore();
}
