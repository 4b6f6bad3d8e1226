// Copyright 2026 The Gridcrafter developers
// SPDX-License-Identifier: LicenseRef-Gridcrafter-Proprietary

#include "tools/render/Batch.h"

#include "core/MapFile.h"
#include "graphics/BmpWriter.h"
#include "graphics/DrawList.h"
#include "graphics/HexGeometry.h"
#include "graphics/ImageFile.h"
#include "graphics/MapPicture.h"
#include "graphics/PngWriter.h"
#include "platform/Errors.h"
#include "platform/FileIdentity.h"

#include <unistd.h>
#include <QDir>
#include <QFileInfo>
#include <cstdio>
#include <exception>

namespace {

// More maps than this show their progress.
constexpr int Handful = 5;

class Batch {
public:
    explicit Batch(const BatchRequest& request)
        : request_(request), progress_(isatty(STDERR_FILENO) == 1 && request.Maps.size() > Handful)
    {
    }

    int Run()
    {
        for (qsizetype i = 0; i < request_.Maps.size(); ++i) {
            try {
                Render(request_.Maps[i]);
            } catch (const std::exception& error) {
                Report(QString::fromLocal8Bit(error.what()));
            }
            ShowProgress(i + 1);
        }
        if (progress_)
            std::fputc('\n', stderr);
        return failed_ ? 1 : 0;
    }

private:
    void Render(const QString& map)
    {
        const QString out =
            QDir(request_.OutDir)
                .filePath(QFileInfo(map).completeBaseName() +
                          (request_.Png ? QStringLiteral(".png") : QStringLiteral(".bmp")));
        if (SameFile(out, map))
            throw GcError(out + QStringLiteral(" is the map file itself; nothing was written"));
        const QString notice = LongMapFileNotice(map, ReadMapFile(map));
        if (!notice.isEmpty() && !request_.Quiet)
            std::fprintf(stderr, "%sgridcrafter-render: %s\n", progress_ ? "\r\x1b[K" : "",
                         qPrintable(notice));
        if (request_.Edge > 0) {
            const QImage thumbnail = RedrawnMapThumbnail(request_.Edge, request_.Shown);
            if (request_.Png)
                WritePngFile(out, thumbnail);
            else
                WriteBmpFile(out, thumbnail);
        } else if (request_.Png) {
            WriteRedrawnMapPng(encoder_, out, request_.Shown);
        } else {
            WriteRedrawnMapFile(out, request_.Shown);
        }
    }

    void Report(const QString& text)
    {
        failed_ = true;
        // Over the progress line, which the next map shows again.
        std::fprintf(stderr, "%sgridcrafter-render: %s\n", progress_ ? "\r\x1b[K" : "",
                     qPrintable(text));
    }

    void ShowProgress(qsizetype done) const
    {
        if (progress_)
            std::fprintf(stderr, "\rgridcrafter-render: %lld of %lld maps",
                         static_cast<long long>(done),
                         static_cast<long long>(request_.Maps.size()));
    }

    const BatchRequest& request_;
    const bool progress_;
    bool failed_ = false;
    PngEncoder encoder_{RedrawStrips()};
};

}  // namespace

int RenderBatch(const BatchRequest& request) { return Batch(request).Run(); }
