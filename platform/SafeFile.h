#pragma once

#include <QByteArray>
#include <QString>

// Writes bytes to a temporary file beside path, flushes it to disk and renames it over
// path only when complete, so a failed write never destroys the file that was there.
// Throws GcError naming the file and the system's reason.
void WriteFileSafely(const QString& path, const QByteArray& bytes);
