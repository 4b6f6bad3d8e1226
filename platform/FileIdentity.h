#pragma once
// Whether two names reach one file, so that writing one cannot destroy the other.

#include <QString>

// True when a and b are the same path once links, "." and ".." are resolved (a name that
// does not exist yet is placed in its resolved folder), or when both exist on the same
// device with the same inode, as hard links do.
bool SameFile(const QString& a, const QString& b);
