#pragma once
// The question every command that replaces the map asks before unsaved edits are lost.

#include <QString>

// Whether the map may go: no unsaved edits, or the user answers Yes to question.
bool MayDiscardMap(const QString& question);
