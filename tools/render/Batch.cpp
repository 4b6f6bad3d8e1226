// Copyright 2026 The Gridcrafter developers
// SPDX-License-Identifier: LicenseRef-Gridcrafter-Proprietary

#include "tools/render/Batch.h"

#include "core/MapFile.h"
#include "graphics/BmpWriter.h"
#include "graphics/HexGeometry.h"
#include "graphics/ImageFile.h"
#include "graphics/MapPicture.h"
#include "platform/Errors.h"
#include "platform/FileIdentity.h"

#include <unistd.h>
#include <QDir>
#include <QFileInfo>
#include <array>
#include <cstdio>
#include <exception>
#include <optional>
#include <thread>
#include <utility>

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
                // After the failure of the map before, if any.
                FinishWriting();
                Report(QString::fromLocal8Bit(error.what()));
            }
            ShowProgress(i + 1);
        }
        FinishWriting();
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
            WriteInTurn(out);
        } else {
            WriteRedrawnMapFile(out, request_.Shown);
        }
    }

    // The map is painted here while the last one is compressed and written on another thread,
    // each into rows of its own, the two taking turns.
    void WriteInTurn(const QString& out)
    {
        std::optional<PngRows>& rows = rows_[turn_];
        if (!rows)
            rows.emplace(MapImageWidth, MapImageHeight, false);
        PaintRedrawnMap(*rows, request_.Shown);
        FinishWriting();
        turn_ ^= 1U;
        const auto write = [this, out, &rows] {
            try {
                encoder_.Write(out, *rows);
            } catch (const std::exception& error) {
                writeError_ = QString::fromLocal8Bit(error.what());
            }
        };
        try {
            writer_ = std::jthread(write);
        } catch (const std::system_error&) {
            write();
        }
    }

    void FinishWriting()
    {
        if (writer_.joinable())
            writer_.join();
        if (!writeError_.isEmpty())
            Report(std::exchange(writeError_, QString()));
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
    PngEncoder encoder_;
    std::array<std::optional<PngRows>, 2> rows_;
    std::size_t turn_ = 0;
    std::jthread writer_;
    QString writeError_;
};

}  // namespace

int RenderBatch(const BatchRequest& request) { return Batch(request).Run(); }
