// Copyright 2026 The Gridcrafter developers
// SPDX-License-Identifier: LicenseRef-Gridcrafter-Proprietary

#include "editor/ShowLayersCommand.h"

#include "core/MapModel.h"
#include "graphics/MapRenderer.h"

void ShowLayersCommand(LayerMask shown, EditorView& view)
{
    std::optional<HexAddress> mark;
    if (view.EditingMode())
        mark = HexAddress{CursorX, CursorY};
    ShowLayers(shown, mark);
}
