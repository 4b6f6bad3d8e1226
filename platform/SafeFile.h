#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <functional>

// Writes bytes to a temporary file beside path, flushes it to disk and renames it over
// path only when complete, so a failed write never destroys the file that was there.
// Throws GcError naming the file and the system's reason.
void WriteFileSafely(const QString& path, const QByteArray& bytes);

// For files that can be made again, such as images: write puts the bytes into a new file
// beside path, which is then renamed over it, so that an interrupted write never leaves half a
// file in place; but the bytes are not flushed to disk first, which saves waiting for it.
// write returns false when it could not make its bytes. Every write to the device succeeds:
// when the system refuses one (a full disk), the bytes from there on are dropped, and the
// system's reason is reported once write returns. A link at path has the file it names
// replaced; an existing file keeps its permissions, and one that is not writable is not
// replaced. Throws GcError naming path and the system's reason; a failed write leaves no file
// behind. expectedSize, where known, has the file system set aside the file's room at once,
// which is quicker than as the bytes come; the file still ends where the bytes do.
void WriteFileUnsynced(const QString& path, const std::function<bool(QIODevice&)>& write,
                       qint64 expectedSize = 0);
