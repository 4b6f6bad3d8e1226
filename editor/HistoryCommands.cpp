// Copyright 2026 The Gridcrafter developers
// SPDX-License-Identifier: LicenseRef-Gridcrafter-Proprietary

#include "editor/HistoryCommands.h"

#include "core/MapHistory.h"
#include "core/MapModel.h"
#include "editor/ChangedCells.h"
#include "editor/KeyboardEditing.h"

#include <optional>

namespace {

// The cursor goes back to where it was when the step was made; its old cell loses the mark.
void ShowWithCursor(const ReplayedStep& replayed, HexAddress cursor, EditorView& view)
{
    HexSet cells;
    cells.Insert({CursorX, CursorY});
    for (const HexAddress& cell : replayed.Cells)
        cells.Insert(cell);
    CursorX = cursor.x;
    CursorY = cursor.y;
    ShowChangedCells(cells, view);
}

void Show(const std::optional<ReplayedStep>& replayed, EditorView& view)
{
    if (!replayed)
        return;
    if (replayed->Cursor) {
        ShowWithCursor(*replayed, *replayed->Cursor, view);
        return;
    }
    if (!replayed->WholeMap) {
        ShowReplayedCells(replayed->Cells, view);
        return;
    }
    view.RedrawWholeMap();
    // The redraw painted over the mark, and the cursor cell may hold something else now.
    if (view.EditingMode())
        view.DrawCursor(CursorX, CursorY);
    view.ShowHexInfo(CursorX, CursorY);
    if (replayed->NameChanged)
        UpdateCaption();
}

}  // namespace

void UndoAndShow(EditorView& view) { Show(UndoMapChange(), view); }

void RedoAndShow(EditorView& view) { Show(RedoMapChange(), view); }
