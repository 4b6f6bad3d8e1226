#pragma once
// Where the running program's file lies, found without an application object, so that a tool
// finds the data installed beside it (<prefix>/bin and <prefix>/share).

#include <QString>

// The folder of the running program's file, links resolved; empty when the system does not say.
QString ProgramFolder();
