// Copyright 2026 The Gridcrafter developers
// SPDX-License-Identifier: LicenseRef-Gridcrafter-Proprietary

#include "editor/CopyCommands.h"

#include "core/HexClipboard.h"
#include "core/MapHistory.h"
#include "core/MapModel.h"
#include "editor/ChangedCells.h"
#include "editor/EditScope.h"
#include "editor/SelectionCommands.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace {

QString NothingSelected()
{
    return QStringLiteral("Nothing is selected: drag with Shift over the map, or Edit, Select All");
}

void PutOnClipboard(const HexSet& hexes)
{
    const std::vector<CopiedHex> copy = CopyHexes(hexes);
    auto* data = new QMimeData;
    data->setData(QString::fromLatin1(HexRecordsMimeType), HexRecords(copy));
    data->setText(HexText(copy));
    QGuiApplication::clipboard()->setMimeData(data);
}

}  // namespace

QString CopyCommand()
{
    const HexSet& selection = TheEditScope().Selection();
    if (selection.Empty())
        return NothingSelected();
    PutOnClipboard(selection);
    return QStringLiteral("Copied ") + CountedHexes(selection.Count());
}

QString CutCommand(EditorView& view)
{
    const HexSet selection = TheEditScope().Selection();
    if (selection.Empty())
        return NothingSelected();
    PutOnClipboard(selection);
    ShowChangedCells(
        ChangeCells(QStringLiteral("Cut"),
                    [&selection] {
                        selection.ForEach([](HexAddress hex) { ResetCell(hex.x, hex.y, 0, 0); });
                    }),
        view);
    return QStringLiteral("Cut ") + CountedHexes(selection.Count());
}
