#pragma once
// The editor's own preferences (the recent maps, the window's place), kept by QSettings in
// the user's configuration folder: $XDG_CONFIG_HOME/Gridcrafter/Gridcrafter.conf, by default
// under ~/.config. The game's ..\Korvane.INI is for the game's settings alone.

#include <QSettings>

class EditorPreferences : public QSettings {
public:
    EditorPreferences() : QSettings(QStringLiteral("Gridcrafter"), QStringLiteral("Gridcrafter")) {}
};
