// Copyright 2026 The Gridcrafter developers
// SPDX-License-Identifier: LicenseRef-Gridcrafter-Proprietary

#include "editor/CreationCommands.h"

#include "core/MapCreation.h"
#include "core/MapHistory.h"
#include "core/MapModel.h"
#include "editor/DiscardQuestion.h"
#include "platform/BusyCursor.h"

void NewMapCommand(const std::function<void()>& redraw)
{
    if (!MayDiscardMap(QStringLiteral("Are you sure you want to clear the map and start over?")))
        return;
    const BusyCursor busy;
    ChangeWholeMap(MapStep::New, ClearMap);
    redraw();
}

void ClearMapCommand(const std::function<void()>& redraw)
{
    ChangeWholeMap(MapStep::Clear, ClearMap);
    redraw();
}

void RandomMapCommand(const std::function<void()>& draw)
{
    if (!MayDiscardMap(
            QStringLiteral("Are you sure you abandon this map and create a random one?")))
        return;
    const BusyCursor busy;
    ChangeWholeMap(MapStep::RandomMap, RandomMap);
    draw();
}
