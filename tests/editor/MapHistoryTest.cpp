// Undo and redo over the map core: every kind of step, the saved state, what is drawn after
// a replay, the QUndoStack window checked against a model of whole snapshots, and the size.

#include "core/MapHistory.h"

#include "core/KeyTable.h"
#include "editor/CreationCommands.h"
#include "editor/FileCommands.h"
#include "editor/HistoryCommands.h"
#include "editor/KeyboardEditing.h"

#include "core/Catalogue.h"
#include "core/MapCreation.h"
#include "core/MapFile.h"
#include "settings/Settings.h"
#include "tests/core/FreshMap.h"
#include "tests/core/QtPrinters.h"
#include "tests/editor/RecordingView.h"
#include "tests/support/ScriptedPrompts.h"

#include <gtest/gtest.h>
#include <QTemporaryDir>
#include <QUndoStack>

#include <malloc.h>
#include <optional>
#include <random>
#include <set>
#include <stdexcept>
#include <string_view>
#include <vector>

namespace {

class MapHistory : public FreshMap {
protected:
    RecordingView view{800, 600};
    QStringList captions;
    int redraws = 0;

    void SetUp() override
    {
        FreshMap::SetUp();
        SetCaptionSink([this](const QString& caption) { captions << caption; });
    }
    void TearDown() override
    {
        SetMapHistoryWindow(DefaultMapHistoryWindow);
        FreshMap::TearDown();
    }

    void Key(int x, int y, char key)
    {
        CursorX = x;
        CursorY = y;
        EditorKeyPress(key, view);
    }
    void Undo() { UndoAndShow(view); }
    void Redo() { RedoAndShow(view); }
    std::function<void()> CountRedraws()
    {
        return [this] { ++redraws; };
    }
};

TEST_F(MapHistory, AKeyStepRestoresTheWholeCellByteForByte)
{
    MapCell& cell = Cell(4, 5);
    cell.Padding1[0] = 0x11;
    cell.Padding2 = 0x22;
    cell.Reserved = -7;
    cell.Overlays.Road = 2;  // from a file: the key flips the lowest bit only
    const QByteArray before = GridBytes();
    Key(4, 5, '.');
    const QByteArray after = GridBytes();
    ASSERT_NE(after, before);

    Undo();
    EXPECT_EQ(GridBytes(), before);
    Redo();
    EXPECT_EQ(GridBytes(), after);
    Undo();
    Undo();  // nothing more to undo
    EXPECT_EQ(GridBytes(), before);
}

TEST_F(MapHistory, EveryEditingKeyThatChangesTheCellIsOneStepNamedAfterIt)
{
    const std::pair<char, const char*> keys[] = {
        {'G', "Grass"},    {'R', "Rough"}, {'L', "Light Woods"}, {'H', "Heavy Woods"},
        {'C', "Concrete"}, {'W', "Water"}, {'I', "Ice"},         {'M', "Mud"},
        {'S', "Sand"},     {'A', "Lava"},  {'V', "Volcano"},     {'X', "Impassable"},
        {'O', "Cratered"}, {'F', "Fire"},  {'E', "Smoke"},       {'P', "Swamp"},
        {'.', "Road"},     {',', "River"}, {'N', "Mines"},       {'>', "Raise"},
        {'<', "Lower"}};
    Cell(2, 2).Ground = tcMud;  // so that G changes something
    std::vector<QByteArray> grids{GridBytes()};
    for (const auto& [key, name] : keys) {
        Key(2, 2, key);
        EXPECT_EQ(UndoStepName(), name) << key;
        grids.push_back(GridBytes());
    }
    for (auto i = grids.size() - 1; i > 0; --i) {
        Undo();
        ASSERT_EQ(GridBytes(), grids[i - 1]) << "undoing " << keys[i - 1].first;
    }
    EXPECT_FALSE(CanUndoMapChange());
    EXPECT_EQ(RedoStepName(), "Grass");
}

TEST_F(MapHistory, AReplayedKeyStepMovesTheCursorAndRedrawsTheCellAndItsNeighbours)
{
    Key(5, 7, ',');
    CursorX = 9;
    CursorY = 9;
    view.Calls.clear();

    Undo();

    EXPECT_EQ(CursorX, 5);
    EXPECT_EQ(CursorY, 7);
    const QStringList redraw{"DrawCell 9,9", "DrawCell 5,7",   "DrawCell 5,6",   "DrawCell 6,6",
                             "DrawCell 6,7", "DrawCell 5,8",   "DrawCell 4,7",   "DrawCell 4,6",
                             "RepaintMap",   "DrawCursor 5,7", "ShowHexInfo 5,7"};
    EXPECT_EQ(view.Calls, redraw);

    // Editing off: no mark; the cursor already on the cell has no old mark to paint over.
    view.Editing = false;
    view.Calls.clear();
    Redo();
    EXPECT_EQ(view.Calls.first(), "DrawCell 5,7");
    EXPECT_FALSE(view.Calls.contains("DrawCursor 5,7"));
    EXPECT_EQ(view.Calls.last(), "ShowHexInfo 5,7");
}

// A river stroke over three hexes, one of them the neighbour of another.
TEST_F(MapHistory, AStrokeIsOneStepThatRestoresEveryCellAndRedrawsThemWithTheirNeighbours)
{
    Cell(5, 7).Padding2 = 0x33;
    Cell(5, 8).Reserved = -9;
    Cell(6, 8).Overlays.River = 2;
    const QByteArray before = GridBytes();
    for (const auto& [x, y] : {std::pair{5, 7}, {5, 8}, {6, 8}}) {
        const MapCell cell = Cell(x, y);
        Cell(x, y).Overlays.River ^= 1u;
        EXPECT_TRUE(RecordStrokeCell(x, y, ',', cell));
    }
    EXPECT_FALSE(RecordStrokeCell(9, 9, ',', Cell(9, 9))) << "no byte changed";
    EndStrokeStep();
    const QByteArray after = GridBytes();
    EXPECT_EQ(UndoStepName(), "River");
    EXPECT_TRUE(MapModified);

    view.Calls.clear();
    Undo();
    EXPECT_EQ(GridBytes(), before);
    EXPECT_FALSE(CanUndoMapChange());
    EXPECT_FALSE(MapModified);
    EXPECT_EQ(CursorX, 6);
    EXPECT_EQ(CursorY, 8);
    // The old cursor cell, the three cells, then the neighbours of each.
    const QStringList redraw{
        "DrawCell 1,1", "DrawCell 5,7", "DrawCell 5,8", "DrawCell 6,8",   "DrawCell 5,6",
        "DrawCell 6,6", "DrawCell 6,7", "DrawCell 5,8", "DrawCell 4,7",   "DrawCell 4,6",
        "DrawCell 5,7", "DrawCell 6,7", "DrawCell 6,8", "DrawCell 5,9",   "DrawCell 4,8",
        "DrawCell 4,7", "DrawCell 6,7", "DrawCell 7,8", "DrawCell 7,9",   "DrawCell 6,9",
        "DrawCell 5,9", "DrawCell 5,8", "RepaintMap",   "DrawCursor 6,8", "ShowHexInfo 6,8"};
    EXPECT_EQ(view.Calls, redraw);
    Redo();
    EXPECT_EQ(GridBytes(), after);
    EXPECT_EQ(MapUndoStack().undoText(), "River");
}

TEST_F(MapHistory, NewClearAndRandomMapAreStepsThatBringBackGridNameAndCaption)
{
    ScriptedPrompts prompts;
    GroundSpriteCount = 16;
    Key(3, 3, 'F');
    MapName = "/maps/kept.KVX";
    const QByteArray edited = GridBytes();

    prompts.AnswerYesNo(true);
    NewMapCommand(CountRedraws());
    const QByteArray cleared = GridBytes();
    prompts.AnswerYesNo(true);
    RandomMapCommand(CountRedraws());
    const QByteArray random = GridBytes();
    ClearMapCommand(CountRedraws());
    captions.clear();
    view.Calls.clear();

    EXPECT_EQ(UndoStepName(), "Clear");
    Undo();
    EXPECT_EQ(GridBytes(), random);
    EXPECT_EQ(MapName, "Random");
    EXPECT_EQ(UndoStepName(), "Random map");
    Undo();
    EXPECT_EQ(GridBytes(), cleared);
    EXPECT_EQ(MapName, "NewMap");
    EXPECT_EQ(UndoStepName(), "New");
    Undo();
    EXPECT_EQ(GridBytes(), edited);
    EXPECT_EQ(MapName, "/maps/kept.KVX");
    EXPECT_EQ(captions, (QStringList{"Korvane Gridcrafter : Random", "Korvane Gridcrafter : NewMap",
                                     "Korvane Gridcrafter : /maps/kept.KVX"}));
    // Each redraw paints over the cursor mark: it is drawn again, as editing is on.
    const QStringList shown{"RedrawWholeMap", "DrawCursor 3,3", "ShowHexInfo 3,3"};
    EXPECT_EQ(view.Calls, shown + shown + shown);
    EXPECT_EQ(RedoStepName(), "New");

    Redo();
    Redo();
    Redo();
    EXPECT_EQ(GridBytes(), cleared);
    EXPECT_EQ(MapName, "NewMap");

    // A clear of a map named "NewMap" keeps the name: its undo and redo leave the caption.
    ClearMapCommand(CountRedraws());
    captions.clear();
    view.Editing = false;
    view.Calls.clear();
    Undo();
    Redo();
    EXPECT_TRUE(captions.isEmpty());
    EXPECT_EQ(view.Calls, QStringList({"RedrawWholeMap", "ShowHexInfo 3,3", "RedrawWholeMap",
                                       "ShowHexInfo 3,3"}))
        << "no cursor mark with editing off";
}

TEST_F(MapHistory, TheSavedStateFollowsUndoAndRedo)
{
    Key(1, 1, 'F');
    EXPECT_TRUE(MapModified);
    MarkMapSaved();
    EXPECT_FALSE(MapModified);
    Key(1, 1, 'E');
    EXPECT_TRUE(MapModified);
    Undo();
    EXPECT_FALSE(MapModified) << "back at the saved state";
    Undo();
    EXPECT_TRUE(MapModified) << "before the saved state";
    Redo();
    EXPECT_FALSE(MapModified);
    Redo();
    EXPECT_TRUE(MapModified);

    // A new step after undoing past the save drops the saved state's branch: nothing leads
    // back to it any more.
    Undo();
    Undo();
    Key(2, 2, 'F');
    for (int i = 0; i < 3; ++i) {
        Undo();
        EXPECT_TRUE(MapModified);
    }
    Redo();
    EXPECT_TRUE(MapModified);
    EXPECT_FALSE(CanRedoMapChange());
}

TEST_F(MapHistory, ListenersHearEveryChangeWithItsKindAfterTheSink)
{
    QStringList heard;
    const auto describe = [](const MapHistoryChange& change) {
        static const char* const kinds[] = {"step", "undo", "redo", "saved", "unsaved", "reset"};
        QString text = kinds[static_cast<int>(change.Kind)];
        if (change.WholeMap)
            text += ' ' + MapStepName(*change.WholeMap);
        return text + (MapModified ? " modified" : "");
    };
    SetMapHistorySink([&] { heard << "sink"; });
    const int first =
        AddMapHistoryListener([&](const MapHistoryChange& c) { heard << describe(c); });
    const int second = AddMapHistoryListener([&](const MapHistoryChange&) { heard << "second"; });

    Key(1, 1, 'F');
    NewMapCommand(CountRedraws());
    Undo();
    Redo();
    MarkMapSaved();
    MarkMapUnsaved();
    RemoveMapHistoryListener(second);
    ResetMapHistory();
    RemoveMapHistoryListener(first);
    RemoveMapHistoryListener(first);
    Key(2, 2, 'F');
    SetMapHistorySink(nullptr);

    EXPECT_EQ(heard, (QStringList{"sink",   "step modified",
                                  "second",  //
                                  "sink",   "step New modified",
                                  "second",  //
                                  "sink",   "undo New modified",
                                  "second",  //
                                  "sink",   "redo New modified",
                                  "second",  //
                                  "sink",   "saved",
                                  "second",  //
                                  "sink",   "unsaved modified",
                                  "second",           //
                                  "sink",   "reset",  //
                                  "sink"}));
}

TEST_F(MapHistory, AMapMarkedUnsavedStaysSoThroughUndoAndRedoUntilSaved)
{
    Key(1, 1, 'F');
    MarkMapSaved();
    MarkMapUnsaved();
    EXPECT_TRUE(MapModified);
    Undo();
    Redo();
    EXPECT_TRUE(MapModified) << "no state is the saved one";
    MarkMapSaved();
    EXPECT_FALSE(MapModified);
}

class LoadAndSave : public MapHistory {
protected:
    ScriptedPrompts prompts;
    QTemporaryDir dir;

    QString Write(const QString& name, const QByteArray& bytes)
    {
        QString path = dir.filePath(name);
        WriteAll(path, bytes);
        return path;
    }
};

TEST_F(LoadAndSave, ALoadedMapIsTheSavedStateAndUndoingTheLoadBringsTheEditBack)
{
    Key(6, 6, 'X');
    const QByteArray edited = GridBytes();
    QByteArray file = edited;
    file[0] = '\x55';
    file[20479] = '\x66';
    const QString path = Write("m1.KVX", file);

    prompts.AnswerYesNo(true);
    prompts.AnswerFileDialog(path);
    LoadMapCommand(CountRedraws());
    EXPECT_FALSE(MapModified);
    EXPECT_EQ(UndoStepName(), "Load");

    Undo();
    EXPECT_EQ(GridBytes(), edited);
    EXPECT_EQ(MapName, "NewMap");
    EXPECT_TRUE(MapModified);
    EXPECT_EQ(captions.last(), "Korvane Gridcrafter : NewMap");
    Redo();
    EXPECT_EQ(GridBytes(), file);
    EXPECT_EQ(MapName, path);
    EXPECT_FALSE(MapModified);
}

TEST_F(LoadAndSave, SavingMarksTheStateAndAFailedOrCancelledSaveDoesNot)
{
    Key(1, 1, 'F');
    prompts.AnswerFileDialog(std::nullopt);
    SaveMapCommand();
    EXPECT_TRUE(MapModified);
    prompts.AnswerFileDialog(dir.filePath("no such folder/m.KVX"));
    EXPECT_ANY_THROW(SaveMapCommand());
    EXPECT_TRUE(MapModified);

    prompts.AnswerFileDialog(dir.filePath("m.KVX"));
    SaveMapCommand();
    EXPECT_FALSE(MapModified);
    Undo();
    EXPECT_TRUE(MapModified);
    EXPECT_EQ(MapName, dir.filePath("m.KVX")) << "a key step does not carry the name";
}

TEST_F(LoadAndSave, AFileLongerThanAMapIsReadToItsFirst20480BytesAndSaysSo)
{
    QByteArray file = GridBytes();
    file[8] = '\x04';
    const QString path = Write("long.KVX", file + QByteArray(100, '\x7F'));
    prompts.AnswerFileDialog(path);
    LoadMapCommand(CountRedraws());

    EXPECT_EQ(GridBytes(), file);
    EXPECT_EQ(prompts.Informations,
              QStringList{path + " holds 20580 bytes; a map file holds 20480. Only the first 20480 "
                                 "bytes were read."});
    EXPECT_FALSE(MapModified);
    EXPECT_EQ(LongMapFileNotice(path, 20480), "");
}

TEST_F(MapHistory, AChangeThatFailsPutsTheMapBackAndMakesNoStep)
{
    Key(1, 1, 'F');
    const QByteArray before = GridBytes();
    EXPECT_THROW(ChangeWholeMap(MapStep::Load,
                                [] {
                                    ClearMap();
                                    MapName = "half";
                                    throw std::runtime_error("disk gone");
                                }),
                 std::runtime_error);
    EXPECT_EQ(GridBytes(), before);
    EXPECT_EQ(MapName, "NewMap");
    EXPECT_EQ(UndoStepName(), "Fire");
}

TEST_F(MapHistory, UndoAndRedoWaitWhileAChangeIsUnderWay)
{
    Key(1, 1, 'F');
    Key(1, 1, 'E');
    Undo();
    ChangeWholeMap(MapStep::Clear, [this] {
        Undo();
        Redo();
        ClearMap();
    });
    EXPECT_EQ(UndoStepName(), "Clear");
    Undo();
    EXPECT_EQ(Cell(1, 1).Overlays.Fire, 1);
    EXPECT_EQ(Cell(1, 1).Overlays.Smoke, 0);
}

// The history against a model that keeps every state whole. States joined by key steps share
// one name, since only whole-map steps carry names; a save renames them together.
class HistoryModel {
public:
    HistoryModel() { Reset(); }

    void Reset()
    {
        states_ = {{Grid(), MapName}};
        names_.clear();
        keySteps_.clear();
        position_ = 0;
        saved_ = 0;
    }

    void Push(const QString& name, bool keyStep)
    {
        if (saved_ && *saved_ > position_)
            saved_.reset();
        states_.resize(position_ + 1);
        names_.resize(position_);
        keySteps_.resize(position_);
        states_.push_back({Grid(), MapName});
        names_.push_back(name);
        keySteps_.push_back(keyStep);
        ++position_;
    }

    // The top step takes in what the map holds now.
    void Amend() { states_[position_].grid = Grid(); }

    void Undo()
    {
        if (position_ > 0)
            --position_;
    }
    void Redo()
    {
        if (position_ + 1 < states_.size())
            ++position_;
    }

    void Save(const QString& name)
    {
        std::size_t first = position_;
        while (first > 0 && keySteps_[first - 1])
            --first;
        for (std::size_t i = first; i < states_.size() && (i == first || keySteps_[i - 1]); ++i)
            states_[i].name = name;
        saved_ = position_;
    }

    void ExpectMatches(std::size_t window) const
    {
        const State& state = states_[position_];
        ASSERT_EQ(Grid(), state.grid);
        ASSERT_EQ(MapName, state.name);
        ASSERT_EQ(MapModified, saved_ != position_);
        ASSERT_EQ(CanUndoMapChange(), position_ > 0);
        ASSERT_EQ(CanRedoMapChange(), position_ + 1 < states_.size());
        ASSERT_EQ(UndoStepName(), position_ > 0 ? names_[position_ - 1] : QString());
        ASSERT_EQ(RedoStepName(), position_ < names_.size() ? names_[position_] : QString());
        const QUndoStack& stack = MapUndoStack();
        ASSERT_LE(static_cast<std::size_t>(stack.count()), window);
        ASSERT_EQ(stack.isClean(), !MapModified);
        if (stack.canUndo()) {
            ASSERT_EQ(stack.undoText(), UndoStepName());
        }
        if (stack.canRedo()) {
            ASSERT_EQ(stack.redoText(), RedoStepName());
        }
    }

private:
    struct State {
        QByteArray grid;
        QString name;
    };
    static QByteArray Grid() { return {reinterpret_cast<const char*>(&MapGrid), sizeof MapGrid}; }

    std::vector<State> states_;
    std::vector<QString> names_;
    std::vector<bool> keySteps_;
    std::size_t position_ = 0;
    std::optional<std::size_t> saved_;
};

// Stroke cells join the open stroke of their key until its end, another key or any change of
// the history closes it.
TEST_F(MapHistory, ThousandsOfRandomStepsUndosAndRedosAgreeWithWholeSnapshots)
{
    GroundSpriteCount = 16;
    Randomize(5);
    std::mt19937 random(2024);
    const auto below = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
    constexpr std::string_view keys = ",.ACEFGHILMNOPRSVWX<>";
    int files = 0;
    for (const std::size_t window : {std::size_t{2}, std::size_t{3}, std::size_t{4}}) {
        SCOPED_TRACE(window);
        SetMapHistoryWindow(window);
        ResetMapHistory();
        HistoryModel model;
        std::optional<char> openStroke;
        std::set<std::pair<int, int>> stroked;
        const auto closeStroke = [&] {
            openStroke.reset();
            stroked.clear();
        };
        for (int i = 0; i < 4000; ++i) {
            const int choice = below(100);
            view.Calls.clear();
            const QByteArray before = GridBytes();
            const bool couldUndo = CanUndoMapChange();
            const bool couldRedo = CanRedoMapChange();
            if (choice < 30) {
                const char key =
                    keys[static_cast<std::size_t>(below(static_cast<int>(keys.size())))];
                Key(1 + below(3), 1 + below(3), key);
                if (GridBytes() != before) {
                    model.Push(KeyStepName(key), true);
                    closeStroke();
                }
            } else if (choice < 45) {
                const char key = below(4) == 0 ? 'F' : 'R';
                const std::pair<int, int> at{1 + below(3), 1 + below(3)};
                if (stroked.count(at) != 0) {
                    EndStrokeStep();
                    closeStroke();
                }
                const MapCell cell = Cell(at.first, at.second);
                Cell(at.first, at.second).Reserved = below(3);
                ASSERT_EQ(RecordStrokeCell(at.first, at.second, key, cell), GridBytes() != before);
                if (GridBytes() != before) {
                    if (openStroke == key) {
                        model.Amend();
                    } else {
                        closeStroke();
                        model.Push(KeyStepName(key), true);
                        openStroke = key;
                    }
                    stroked.insert(at);
                }
            } else if (choice < 47) {
                EndStrokeStep();
                closeStroke();
            } else if (choice < 55) {
                const MapStep step = below(2) == 0 ? MapStep::Clear : MapStep::RandomMap;
                ChangeWholeMap(step, step == MapStep::Clear ? ClearMap : RandomMap);
                model.Push(MapStepName(step), false);
                closeStroke();
            } else if (choice < 72) {
                Undo();
                model.Undo();
                if (couldUndo)
                    closeStroke();
            } else if (choice < 87) {
                Redo();
                model.Redo();
                if (couldRedo)
                    closeStroke();
            } else if (choice < 93) {
                MapName = QStringLiteral("/maps/saved%1.KVX").arg(++files);
                MarkMapSaved();
                model.Save(MapName);
                closeStroke();
            } else if (choice < 99) {
                ChangeWholeMap(MapStep::Load, [&] {
                    Cell(1 + below(32), 1 + below(32)).Reserved = below(1000);
                    MapName = QStringLiteral("/maps/loaded%1.KVX").arg(++files);
                });
                model.Push(MapStepName(MapStep::Load), false);
                MarkMapSaved();
                model.Save(MapName);
                closeStroke();
            } else {
                ResetMapHistory();
                model.Reset();
                closeStroke();
            }
            SCOPED_TRACE(i);
            model.ExpectMatches(window);
            if (HasFatalFailure())
                return;
        }
    }
}

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define GC_MALLOC_REPLACED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define GC_MALLOC_REPLACED 1
#endif
#endif

TEST_F(MapHistory, AHundredThousandKeyStepsTakeLessThanTenMegabytes)
{
#ifdef GC_MALLOC_REPLACED
    GTEST_SKIP() << "the sanitizer's allocator keeps no malloc statistics";
#else
    const std::size_t before = mallinfo2().uordblks;
    for (int i = 0; i < 100000; ++i) {
        const int x = 1 + i % MapSize;
        const int y = 1 + (i / MapSize) % MapSize;
        const MapCell cell = Cell(x, y);
        Cell(x, y).Overlays.Fire ^= 1u;
        ASSERT_TRUE(RecordCellChange(x, y, 'F', cell));
    }
    const std::size_t used = mallinfo2().uordblks - before;
    EXPECT_LT(used, 10u * 1024 * 1024) << used << " bytes";
    Undo();
    EXPECT_EQ(UndoStepName(), "Fire");
#endif
}

TEST_F(MapHistory, AStepOfManyCellsKeepsEveryFieldButThePaddingAndTheCursorCell)
{
    Cell(4, 5).Padding1[1] = 0x33;
    Cell(4, 5).Reserved = 8;
    Cell(6, 6).X = 99;
    const QByteArray before = GridBytes();
    CursorX = 7;
    CursorY = 8;

    const HexSet changed = ChangeCells("Paste", [] {
        ResetCell(4, 5, 3, tcMud);
        Cell(6, 6).X = 6;
        Cell(9, 9).Overlays.River = 1;
        Cell(10, 10).Ground = tcGrass;  // as it was
    });

    EXPECT_EQ(changed.Hexes(), (std::vector<HexAddress>{{4, 5}, {6, 6}, {9, 9}}));
    EXPECT_EQ(Cell(4, 5).Padding1[1], 0x33);
    EXPECT_EQ(UndoStepName(), "Paste");
    const QByteArray after = GridBytes();
    Undo();
    EXPECT_EQ(GridBytes(), before);
    EXPECT_EQ(CursorX, 7);
    EXPECT_EQ(CursorY, 8);
    EXPECT_TRUE(view.Calls.contains("DrawCell 9,10")) << "the river's neighbours follow";
    CursorX = 1;
    Redo();
    EXPECT_EQ(GridBytes(), after);
    EXPECT_EQ(CursorX, 7);

    EXPECT_TRUE(ChangeCells("Paste", [] {}).Empty());
    EXPECT_EQ(RedoStepName(), "") << "a step made of nothing would have dropped nothing";
    EXPECT_EQ(UndoStepName(), "Paste");
}

TEST_F(MapHistory, AStepOfManyCellsThatFailsPutsTheMapBackAndMakesNoStep)
{
    const QByteArray before = GridBytes();
    EXPECT_THROW(ChangeCells("Turn Map",
                             [] {
                                 Cell(3, 3).Height = 5;
                                 throw std::runtime_error("half way");
                             }),
                 std::runtime_error);
    EXPECT_EQ(GridBytes(), before);
    EXPECT_FALSE(CanUndoMapChange());
}

TEST_F(MapHistory, AStepOfTheWholeMapKeepsAtMostTwentyBytesACell)
{
#ifdef GC_MALLOC_REPLACED
    GTEST_SKIP() << "the sanitizer's allocator keeps no malloc statistics";
#else
    // The first step of a process also sets up Qt's undo stack.
    ChangeCells("Paste", [] { Cell(1, 1).Height = 9; });
    const std::size_t before = mallinfo2().uordblks;
    const HexSet changed = ChangeCells("Raise All Heights", [] {
        for (MapColumn& column : MapGrid)
            for (MapCell& cell : column)
                ++cell.Height;
    });
    const std::size_t used = mallinfo2().uordblks - before;
    ASSERT_EQ(changed.Count(), MapHexes);
    // 19 bytes a cell, and the step's own few objects (its command, name and cursor).
    EXPECT_LE(used, 19u * MapHexes + 2048) << used << " bytes";
#endif
}

}  // namespace
