// Copyright 2026 The Gridcrafter developers
// SPDX-License-Identifier: LicenseRef-Gridcrafter-Proprietary

// Every way the editor and the tools write a file, onto a disk that runs out of room part of
// the way through the file: the user reads the file's name and the system's reason ("No space
// left on device"), in one line from a tool; the file that was there keeps its bytes and
// nothing is left beside it. So does the copy of the sheets into the user's own game folder.
// Where no disk can be mounted, a file size limit cuts the writes short instead, and the
// reason is "File too large".

#include "Editor.h"
#include "SmallDisk.h"
#include "core/MapCreation.h"
#include "core/MapFile.h"
#include "core/MapModel.h"
#include "editor/FileCommands.h"
#include "editor/ImageCommands.h"
#include "graphics/MapRenderer.h"
#include "platform/Errors.h"
#include "platform/UserGameFolder.h"
#include "tests/support/FileSizeLimit.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStringList>
#include <cerrno>
#include <cstdio>
#include <functional>
#include <memory>

namespace {

// Less than any of the files written: each runs out of room part of the way through.
constexpr qint64 Room = 8192;

struct Writer {
    const char* Name;
    QString File;
    // Writes the file as the user does; the text the user reads, or empty.
    std::function<QString(const QString& path)> Write;
};

class FullDisk : public HostileInput {
protected:
    QString mapFile;

    void SetUp() override
    {
        HostileInput::SetUp();
        game.WriteSettings("[General]\r\nVersion=v2\xDF\r\n");
        WriteSheets();
        ASSERT_EQ(StartEditor(), "");
        // Random ground and heights, so that no picture of the map packs into the room.
        Randomize(7);
        RandomMap();
        RedrawMap();
        mapFile = game.Root() + "/battle.KVX";
        WriteMapFile(mapFile);
        MapName = mapFile;
    }

    // The error text of a command; empty when it succeeded.
    static QString Failure(const std::function<void()>& command)
    {
        try {
            command();
        } catch (const GcError& error) {
            return error.Text();
        }
        return {};
    }

    QString Command(void (*command)(), const QString& path)
    {
        prompts.AnswerFileDialog(path);
        return Failure(command);
    }

    // A tool's standard error, or empty when it succeeded.
    static QString Run(const QString& tool, const QStringList& arguments)
    {
        QProcess process;
        process.start(tool, arguments);
        if (!process.waitForFinished(60000))
            return QStringLiteral("the tool did not finish");
        const QString said = QString::fromLocal8Bit(process.readAllStandardError());
        return process.exitCode() == 0 && said.isEmpty() ? QString() : said;
    }

    std::vector<Writer> Writers()
    {
        return {
            {"Files, Save", "map.KVX",
             [this](const QString& path) { return Command(SaveMapCommand, path); }},
            {"Write BMP", "map.BMP",
             [this](const QString& path) { return Command(WriteBitmapCommand, path); }},
            {"Export image as PNG", "map.png",
             [this](const QString& path) { return Command([] { ExportImageCommand(); }, path); }},
            {"Export image as a bitmap", "map.bmp",
             [this](const QString& path) { return Command([] { ExportImageCommand(); }, path); }},
            {"gridcrafter-render into a PNG", "map.png",
             [this](const QString& path) {
                 return Run(GC_RENDER_TOOL, {mapFile, path});
             }},
            {"gridcrafter-render into a bitmap", "map.bmp",
             [this](const QString& path) {
                 return Run(GC_RENDER_TOOL, {mapFile, path});
             }},
            // Its first sheet.
            {"gridcrafter-sprites", "Height.BMP",
             [](const QString& path) { return Run(GC_SPRITES_TOOL, {QFileInfo(path).path()}); }},
        };
    }
};

TEST_F(FullDisk, EveryWriteNamesTheFileAndTheSystemsReasonAndLeavesTheOldFile)
{
    const QByteArray oldBytes(100, 'o');
    int number = 0;
    for (const Writer& writer : Writers()) {
        SCOPED_TRACE(writer.Name);
        // Written where there is room first: larger than what the full disk has left.
        const QString roomy = game.Root() + "/" + writer.File;
        ASSERT_EQ(writer.Write(roomy).toStdString(), "");
        ASSERT_GT(QFileInfo(roomy).size(), Room);
        ASSERT_TRUE(QFile::remove(roomy));
        prompts.Informations.clear();

        const QString disk = game.Root() + QStringLiteral("/disk%1").arg(++number);
        const SmallDisk small(disk);
        const QString path = disk + "/" + writer.File;
        WriteFile(path, oldBytes);
        QString text;
        QString reason;
        if (small.Mounted()) {
            ASSERT_TRUE(FillUp(disk, Room));
            text = writer.Write(path);
            reason = qt_error_string(ENOSPC);
        } else {
            std::fprintf(stderr, "no tmpfs could be mounted; a file size limit stands in\n");
            const FileSizeLimit limit(Room);
            ASSERT_TRUE(limit.Applied());
            text = writer.Write(path);
            reason = qt_error_string(EFBIG);
        }
        const QString expected = "Cannot write file " + path + ": " + reason;
        const QString tool = QString(writer.Name).section(' ', 0, 0);
        if (tool.startsWith("gridcrafter-"))
            EXPECT_EQ(text.toStdString(), (tool + ": " + expected + "\n").toStdString());
        else
            EXPECT_EQ(text.toStdString(), expected.toStdString());
        EXPECT_EQ(ReadFile(path), oldBytes);
        QStringList left = QDir(disk).entryList(QDir::Files | QDir::Hidden);
        left.removeAll("filler");
        EXPECT_EQ(left, QStringList{writer.File});
        EXPECT_TRUE(prompts.Informations.isEmpty()) << "a success was reported";
    }
}

// The user's own game folder laid out on a full disk: the first sheet copied names the
// reason, and no part of it is left.
TEST_F(FullDisk, LayingOutAGameFolderNamesTheSystemsReason)
{
    const QString disk = game.Root() + "/disk";
    const SmallDisk small(disk);
    const QString copied = disk + "/game/Sprites/EFFECTS.BMP";
    ASSERT_GT(QFileInfo(SheetPath("EFFECTS.BMP")).size(), Room);
    QString text;
    QString reason;
    if (small.Mounted()) {
        ASSERT_TRUE(FillUp(disk, Room));
        text = Failure([&] { LayOutGameFolder(disk + "/game", game.SpritesDir()); });
        reason = qt_error_string(ENOSPC);
    } else {
        std::fprintf(stderr, "no tmpfs could be mounted; a file size limit stands in\n");
        const FileSizeLimit limit(Room);
        ASSERT_TRUE(limit.Applied());
        text = Failure([&] { LayOutGameFolder(disk + "/game", game.SpritesDir()); });
        reason = qt_error_string(EFBIG);
    }
    EXPECT_EQ(text.toStdString(), ("Cannot write file " + copied + ": " + reason).toStdString());
    EXPECT_TRUE(QDir(disk + "/game/Sprites").entryList(QDir::Files | QDir::Hidden).isEmpty());
}

}  // namespace
