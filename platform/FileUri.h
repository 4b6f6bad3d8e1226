#pragma once
// Files named as the freedesktop specifications pass them to programs: a path, or a file://
// URI whose bytes are percent-encoded UTF-8 (a file manager's %u).

#include <QString>
#include <optional>

// The local path that argument names: a file:// URI percent-decoded, anything else as it is.
// Nothing for a URI of another scheme or of another host, which names no local file.
std::optional<QString> LocalPathOf(const QString& argument);
