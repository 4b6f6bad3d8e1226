// Copyright 2026 The Gridcrafter developers
// SPDX-License-Identifier: LicenseRef-Gridcrafter-Proprietary

#include "platform/ProgramFolder.h"

#include <QFileInfo>

QString ProgramFolder()
{
    const QFileInfo program(QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath());
    return program.fileName().isEmpty() ? QString() : program.absolutePath();
}
