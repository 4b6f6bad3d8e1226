// Copyright 2026 The Gridcrafter developers
// SPDX-License-Identifier: LicenseRef-Gridcrafter-Proprietary

#include "editor/FloodFillCommand.h"

#include "core/HexTransforms.h"
#include "core/KeyTable.h"
#include "core/MapHistory.h"
#include "core/MapModel.h"
#include "editor/ChangedCells.h"
#include "editor/EditScope.h"
#include "editor/SelectionCommands.h"

QString FloodFillCommand(EditorView& view)
{
    const char key = LastMapKey;
    if (!IsMapKey(key))
        return QStringLiteral(
            "Flood Fill pours the last map key: type one, or choose one from "
            "the right-button menu, first");
    const EditScope& scope = TheEditScope();
    const HexAddress cursor{CursorX, CursorY};
    const HexSet within = scope.Selection().Empty() ? HexSet::All() : scope.Selection();
    const HexSet reach = FillReach(key, cursor, within);
    if (reach.Empty())
        return QStringLiteral("Flood Fill starts at the cursor: put it inside the selection");
    const HexSet hexes = scope.Mirrored(reach);
    HexSet shown =
        ChangeCells(QStringLiteral("Flood Fill"), [&] { ApplyKeyAcross(key, cursor, hexes); });
    shown.Insert(cursor);
    ShowChangedCells(shown, view);
    return QStringLiteral("Flood Fill of %1: %2")
        .arg(KeyMenuName(key), CountedHexes(hexes.Count()));
}
