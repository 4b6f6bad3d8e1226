// Copyright 2026 The Gridcrafter developers
// SPDX-License-Identifier: LicenseRef-Gridcrafter-Proprietary

#include "editor/StartEditor.h"

#include "core/MapCreation.h"
#include "core/MapHistory.h"
#include "core/MapModel.h"
#include "graphics/MapRenderer.h"
#include "graphics/SpriteLibrary.h"
#include "platform/BusyCursor.h"
#include "settings/Settings.h"

void StartEditor()
{
    BusyCursor busy;
    // Set before the loads, so that a Reload after a failed start-up edits from (1, 1).
    CursorX = 1;
    CursorY = 1;
    MineValue = 10;
    ResetMapHistory();
    Randomize();
    LoadSettings();
    LoadSpriteLibrary();
    ClearMap();
    MapModified = false;
    RedrawMap();
}
