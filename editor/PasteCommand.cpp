// Copyright 2026 The Gridcrafter developers
// SPDX-License-Identifier: LicenseRef-Gridcrafter-Proprietary

#include "editor/PasteCommand.h"

#include "core/CellContent.h"
#include "core/HexClipboard.h"
#include "core/HexTransforms.h"
#include "core/MapHistory.h"
#include "core/MapModel.h"
#include "core/MapSymmetry.h"
#include "editor/ChangedCells.h"
#include "editor/EditScope.h"
#include "editor/SelectionCommands.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <optional>
#include <vector>

namespace {

std::optional<std::vector<CopiedHex>> ClipboardHexes()
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (!data)
        return std::nullopt;
    const QString ours = QString::fromLatin1(HexRecordsMimeType);
    if (data->hasFormat(ours))
        return ReadHexRecords(data->data(ours));
    return data->hasText() ? ReadHexText(data->text()) : std::nullopt;
}

// The copy moved onto the cursor: each hex's content at its new place.
std::vector<CopiedHex> MovedOntoCursor(const std::vector<CopiedHex>& copy)
{
    std::vector<HexAddress> places;
    places.reserve(copy.size());
    for (const CopiedHex& hex : copy)
        places.push_back(hex.Place);
    const HexAddress lead = TopLeftHex(places);
    std::vector<CopiedHex> moved;
    for (const CopiedHex& hex : copy)
        if (const auto place = MovedHex(hex.Place, lead, {CursorX, CursorY}))
            moved.push_back({*place, hex.Content});
    return moved;
}

void Place(const std::vector<CopiedHex>& pasted, const HexSet& targets, bool mirrored)
{
    for (const CopiedHex& hex : pasted) {
        PlaceContent(hex.Place, hex.Content);
        const HexAddress mirror = MirrorHex(hex.Place);
        if (mirrored && !targets.Contains(mirror))
            PlaceContent(mirror, hex.Content);
    }
}

}  // namespace

QString PasteCommand(EditorView& view)
{
    const std::optional<std::vector<CopiedHex>> copy = ClipboardHexes();
    if (!copy)
        return QStringLiteral("The clipboard holds no hexes: copy some first");
    const std::vector<CopiedHex> pasted = MovedOntoCursor(*copy);
    HexSet targets;
    for (const CopiedHex& hex : pasted)
        targets.Insert(hex.Place);
    const bool mirrored = TheEditScope().PointSymmetry();
    ShowChangedCells(
        ChangeCells(QStringLiteral("Paste"), [&] { Place(pasted, targets, mirrored); }), view);
    TheEditScope().Select(targets);
    const int left = static_cast<int>(copy->size() - pasted.size());
    QString hint = QStringLiteral("Pasted ") + CountedHexes(targets.Count());
    if (left > 0)
        hint += QStringLiteral("; left out %1 that would fall off the map").arg(CountedHexes(left));
    return hint;
}
