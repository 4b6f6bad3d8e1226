#pragma once
// The user's XDG base folders, where the editor keeps what is its own: a game folder in the
// data folder and its recovery files in the state folder.

#include <QString>

// $XDG_DATA_HOME, or ~/.local/share where it is unset or not an absolute path (XDG has such a
// value ignored).
QString XdgDataHome();

// $XDG_STATE_HOME, or ~/.local/state by the same rule.
QString XdgStateHome();
