#include "graphics/MapOutput.h"

#include "graphics/BmpWriter.h"
#include "graphics/MapView.h"
#include "platform/Errors.h"

#include <QPaintDevice>
#include <QPainter>
#include <QRect>
#include <algorithm>

PrintArea PrintRectangle(int dpiX, int dpiY, int pageWidth, int pageHeight)
{
    const QImage& image = MapImage();
    const double ratio = static_cast<double>(image.height()) / static_cast<double>(image.width());
    return {dpiX, dpiY, pageWidth - dpiX,
            static_cast<int>(ratio * static_cast<double>(pageHeight)) - dpiY};
}

void DrawMapImage(QPainter& painter, const PrintArea& area)
{
    const QRect target(area.Left, area.Top, area.Right - area.Left, area.Bottom - area.Top);
    if (target.isEmpty())
        return;
    painter.drawImage(target, MapImage());
}

void PrintMapImage(QPaintDevice& page)
{
    QPainter painter;
    if (!painter.begin(&page))
        throw GcError(QStringLiteral("Cannot print the map: the printer refused the job"));
    DrawMapImage(painter, PrintRectangle(page.logicalDpiX(), page.logicalDpiY(), page.width(),
                                         page.height()));
    if (!painter.end())
        throw GcError(QStringLiteral("Cannot print the map: the printer did not finish the job"));
}

void WriteMapImageFile(const QString& path) { WriteBmpFile(path, MapImage()); }

QString ImageNameFor(const QString& mapName, const QString& extension)
{
    const qsizetype lastPart =
        std::max(mapName.lastIndexOf(QLatin1Char('/')), mapName.lastIndexOf(QLatin1Char('\\'))) + 1;
    const qsizetype dot = mapName.lastIndexOf(QLatin1Char('.'));
    // A dot that starts the last part begins a name, not an extension.
    const qsizetype stem = dot > lastPart ? dot : mapName.size();
    return mapName.left(stem) + extension;
}

QString BitmapNameFor(const QString& mapName)
{
    return ImageNameFor(mapName, QStringLiteral(".BMP"));
}
