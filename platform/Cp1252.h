#pragma once
// Files and settings hold Windows-1252 bytes; the rest of the program works in QString.

#include <QByteArray>
#include <QString>

QString FromCp1252(const QByteArray& bytes);
// Characters without a Windows-1252 code become '?'.
QByteArray ToCp1252(const QString& text);
