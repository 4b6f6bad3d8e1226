#include "graphics/MapOutput.h"

#include "core/MapFile.h"
#include "core/MapModel.h"
#include "graphics/BmpWriter.h"
#include "graphics/ImageFile.h"
#include "graphics/MapView.h"
#include "platform/BusyCursor.h"
#include "platform/Errors.h"
#include "platform/FileIdentity.h"
#include "platform/Prompts.h"

#include <QPaintDevice>
#include <QPainter>
#include <QRect>
#include <algorithm>
#include <optional>

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

void WriteMapImageFile(const QString& path)
{
    try {
        WriteBmpFile(path, MapImage());
    } catch (const GcError&) {
        // The user reads the toolkit's text, not the system's reason.
        throw GcError(QStringLiteral("Cannot create file ") + path);
    }
}

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

namespace {

// What Write BMP and Export image differ in.
struct ImageCommand {
    const FileDialogOptions& Dialog;
    QString Extension;  // of the proposed name
    QString Kind;       // in the refusal: "the bitmap was not written"
    QString Notice;     // before the path in the notice
    void (*Write)(const QString& path);
};

void PutMapImageOut(const ImageCommand& command)
{
    const std::optional<QString> path =
        CurrentPrompts().FileDialog(command.Dialog, ImageNameFor(MapName, command.Extension));
    if (!path)
        return;
    const QString mapFile = OpenMapFile();
    if (!mapFile.isEmpty() && SameFile(*path, mapFile)) {
        CurrentPrompts().Warning(
            QStringLiteral("%1 is the file of the open map; the %2 was not written. "
                           "Choose another name for it.")
                .arg(*path, command.Kind));
        return;
    }
    {
        const BusyCursor busy;
        command.Write(*path);
    }
    CurrentPrompts().Information(command.Notice + *path + QStringLiteral(" created"));
}

}  // namespace

void WriteBitmapCommand()
{
    PutMapImageOut({SaveDialog2, QStringLiteral(".BMP"), QStringLiteral("bitmap"),
                    QStringLiteral("BMP image "), WriteMapImageFile});
}

void ExportImageCommand()
{
    PutMapImageOut({ExportDialog, QStringLiteral(".png"), QStringLiteral("image"),
                    QStringLiteral("Image "),
                    [](const QString& path) { WriteImageFile(path, MapImage()); }});
}
