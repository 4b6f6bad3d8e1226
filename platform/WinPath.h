#pragma once
// The game's files are named Windows-style ("..\Sprites\Height.BMP"); on Linux a name is
// found the way Windows would find it: backslashes are separators and, where the exact
// name does not exist, each component is matched without regard to case in its folder.

#include <QString>

QString NativePath(const QString& windowsPath);
