// Copyright 2026 The Gridcrafter developers
// SPDX-License-Identifier: LicenseRef-Gridcrafter-Proprietary

#include "app/MessageBoxIcon.h"

#include <QIcon>
#include <QImage>
#include <QMessageBox>
#include <QPixmap>
#include <QStyle>
#include <QtMath>
#include <optional>

namespace {

std::optional<QStyle::StandardPixmap> StandardPixmapOf(QMessageBox::Icon icon)
{
    switch (icon) {
    case QMessageBox::Information: return QStyle::SP_MessageBoxInformation;
    case QMessageBox::Warning: return QStyle::SP_MessageBoxWarning;
    case QMessageBox::Critical: return QStyle::SP_MessageBoxCritical;
    case QMessageBox::Question: return QStyle::SP_MessageBoxQuestion;
    case QMessageBox::NoIcon: return std::nullopt;
    }
    return std::nullopt;
}

// plain, of the size it shows at, in ratio times as many pixels each way.
QPixmap ScaledSharply(const QPixmap& plain, qreal ratio)
{
    const QSize device(qCeil(plain.width() * ratio), qCeil(plain.height() * ratio));
    QPixmap scaled = QPixmap::fromImage(
        plain.toImage().scaled(device, Qt::IgnoreAspectRatio, Qt::FastTransformation));
    scaled.setDevicePixelRatio(ratio);
    return scaled;
}

}  // namespace

void DrawIconForDevicePixels(QMessageBox& box)
{
    const qreal ratio = box.devicePixelRatioF();
    const std::optional<QStyle::StandardPixmap> kind = StandardPixmapOf(box.icon());
    if (ratio == 1 || !kind)
        return;
    const int extent = box.style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, &box);
    const QIcon icon = box.style()->standardIcon(*kind, nullptr, &box);
    const QPixmap plain = icon.pixmap(QSize(extent, extent), 1.0);
    const QPixmap native = icon.pixmap(QSize(extent, extent), ratio);
    // The style has pixels of its own for the ratio: an icon theme's large or scalable icons.
    if (native.devicePixelRatio() == ratio && native.width() >= qCeil(plain.width() * ratio))
        box.setIconPixmap(native);
    else
        box.setIconPixmap(ScaledSharply(plain, ratio));
}
