// Copyright 2026 The Gridcrafter developers
// SPDX-License-Identifier: LicenseRef-Gridcrafter-Proprietary

#include "editor/ImageCommands.h"

#include "core/MapFile.h"
#include "core/MapModel.h"
#include "graphics/ImageFile.h"
#include "graphics/MapOutput.h"
#include "graphics/MapRenderer.h"
#include "platform/BusyCursor.h"
#include "platform/FileIdentity.h"
#include "platform/Prompts.h"

#include <optional>

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
                    [](const QString& path) { WriteImageFile(path, RedrawnMapImage()); }});
}
