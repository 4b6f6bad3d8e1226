// Copyright 2026 The Gridcrafter developers
// SPDX-License-Identifier: LicenseRef-Gridcrafter-Proprietary

#include "editor/DiscardQuestion.h"

#include "core/MapModel.h"
#include "platform/Prompts.h"

bool MayDiscardMap(const QString& question)
{
    return !MapModified || CurrentPrompts().AskYesNo(question);
}
