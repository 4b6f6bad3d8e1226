// Copyright 2026 The Gridcrafter developers
// SPDX-License-Identifier: LicenseRef-Gridcrafter-Proprietary

#include "editor/ImageCommands.h"

#include "core/MapFile.h"
#include "core/MapModel.h"
#include "graphics/HexLabels.h"
#include "graphics/ImageFile.h"
#include "graphics/MapOutput.h"
#include "graphics/MapRenderer.h"
#include "graphics/MapView.h"
#include "graphics/ViewImage.h"
#include "platform/BusyCursor.h"
#include "platform/FileIdentity.h"
#include "platform/Prompts.h"

#include <QPainter>
#include <functional>
#include <optional>

namespace {

// What Write BMP and Export image differ in.
struct ImageCommand {
    const FileDialogOptions& Dialog;
    QString Extension;  // of the proposed name
    QString Kind;       // in the refusal: "the bitmap was not written"
    QString Notice;     // before the path in the notice
    std::function<void(const QString& path)> Write;
};

// The map drawn anew from the map itself, with the layers the view shows: no cursor mark, no
// showcase.
QImage ExportedPicture(bool withCoordinates)
{
    QImage picture = RedrawnMapImage(ViewLayers());
    if (withCoordinates) {
        QPainter painter(&picture);
        DrawHexLabels(painter, 1, picture.rect());
    }
    return picture;
}

// "Export Image", with what the picture holds besides and what it leaves out.
QString ExportTitle(bool withCoordinates)
{
    QString title = ExportDialog.Title;
    if (withCoordinates)
        title += QStringLiteral(" with Coordinates");
    const QStringList hidden = HiddenLayerNames(ViewLayers());
    if (!hidden.isEmpty())
        title += (withCoordinates ? QStringLiteral(", without ") : QStringLiteral(" without ")) +
                 hidden.join(QStringLiteral(", "));
    return title;
}

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

void ExportImageCommand(bool withCoordinates)
{
    FileDialogOptions dialog = ExportDialog;
    dialog.Title = ExportTitle(withCoordinates);
    PutMapImageOut({dialog, QStringLiteral(".png"), QStringLiteral("image"),
                    QStringLiteral("Image "), [withCoordinates](const QString& path) {
                        WriteImageFile(path, ExportedPicture(withCoordinates));
                    }});
}
