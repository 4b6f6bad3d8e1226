// Copyright 2026 The Gridcrafter developers
// SPDX-License-Identifier: LicenseRef-Gridcrafter-Proprietary

#include "editor/HistoryCommands.h"

#include "core/MapHistory.h"
#include "core/MapModel.h"
#include "editor/KeyboardEditing.h"

#include <optional>

namespace {

void Show(const std::optional<ReplayedStep>& replayed, EditorView& view)
{
    if (!replayed)
        return;
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
