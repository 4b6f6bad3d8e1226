// Copyright 2026 The Gridcrafter developers
// SPDX-License-Identifier: LicenseRef-Gridcrafter-Proprietary

#include "editor/ReloadCommand.h"

#include "core/MapHistory.h"
#include "core/MapModel.h"
#include "graphics/MapRenderer.h"
#include "graphics/Showcase.h"
#include "graphics/SpriteLibrary.h"
#include "platform/BusyCursor.h"
#include "settings/Settings.h"

void ReloadSprites()
{
    const BusyCursor busy;
    LoadSettings();
    // After a failed start-up the sets may never have been made; the full load makes them.
    if (SpriteLibraryReady())
        LoadSpriteSheets();
    else
        LoadSpriteLibrary();
    ChangeWholeMap(MapStep::Reload, ClearMap);
    RedrawMap();
    ShowMechs();
}
