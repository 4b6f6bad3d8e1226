// Copyright 2026 The Gridcrafter developers
// SPDX-License-Identifier: LicenseRef-Gridcrafter-Proprietary

#include "editor/RecoveryOffer.h"

#include "core/MapRecovery.h"
#include "editor/RecoveryFolder.h"
#include "editor/RecoveryKeeper.h"
#include "platform/Errors.h"
#include "platform/Prompts.h"

namespace {

void MoveAsideWithWarning(const QString& path)
{
    QString warning;
    try {
        const QString aside = MoveRecoveryAside(path);
        warning =
            QStringLiteral("%1 is not a recovery file of Gridcrafter; it was moved aside to %2")
                .arg(path, aside);
    } catch (const GcError& error) {
        warning =
            QStringLiteral("%1 is not a recovery file of Gridcrafter. %2").arg(path, error.Text());
    }
    CurrentPrompts().Warning(warning);
}

QString RestoreQuestion(const MapRecovery& recovery)
{
    return QStringLiteral(
               "Gridcrafter was not closed properly. Restore the unsaved changes to %1 from %2?")
        .arg(recovery.Name,
             recovery.Time.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
}

}  // namespace

void OfferRecoveries(RecoveryKeeper& keeper, const std::function<void()>& redraw)
{
    const RecoveryFolderContents contents = ReadRecoveryFolder(keeper.Folder());
    for (const QString& path : contents.Unreadable)
        MoveAsideWithWarning(path);
    for (const FoundRecovery& found : contents.Abandoned) {
        switch (CurrentPrompts().AskYesNoCancel(RestoreQuestion(found.Recovery))) {
        case Answer::Yes:
            RestoreMapRecovery(found.Recovery);
            redraw();
            keeper.TakeOver(found.Path);
            return;
        case Answer::No: keeper.Discard(found.Path); break;
        case Answer::Cancel: return;
        }
    }
}
