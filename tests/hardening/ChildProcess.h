#pragma once
// Runs a piece of a test in a child process and brings back what it found.

#include <QString>
#include <functional>

// body runs in a forked child and returns what went wrong, or an empty text. Started as
// root, the child first becomes the unprivileged user nobody, since root reads and writes
// past file permissions and a permission test would then prove nothing. The result is the
// body's text, or how the child failed.
QString RunWithoutPrivileges(const std::function<QString()>& body);

// Gives everyone access to path, so that the unprivileged child reaches what the test made.
void OpenToEveryone(const QString& path);
