// Copyright 2026 The Gridcrafter developers
// SPDX-License-Identifier: LicenseRef-Gridcrafter-Proprietary

#include "editor/MapTurnCommands.h"

#include "core/MapHistory.h"
#include "core/MapTurns.h"
#include "editor/ChangedCells.h"

#include <functional>

namespace {

void ChangeAndShow(const QString& name, const std::function<void()>& change, EditorView& view)
{
    ShowChangedCells(ChangeCells(name, change), view);
}

}  // namespace

void TurnMapCommand(EditorView& view)
{
    ChangeAndShow(QStringLiteral("Turn Map"), TurnMapHalfway, view);
}

void MakeSymmetricCommand(EditorView& view)
{
    ChangeAndShow(QStringLiteral("Make Symmetric"), MakeMapSymmetric, view);
}

void RaiseAllHeightsCommand(EditorView& view)
{
    ChangeAndShow(
        QStringLiteral("Raise All Heights"), [] { StepAllHeights(+1); }, view);
}

void LowerAllHeightsCommand(EditorView& view)
{
    ChangeAndShow(
        QStringLiteral("Lower All Heights"), [] { StepAllHeights(-1); }, view);
}
