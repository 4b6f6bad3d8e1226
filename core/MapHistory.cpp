#include "core/MapHistory.h"

#include "core/KeyTable.h"

#include <QUndoStack>
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>
#include <utility>
#include <variant>
#include <vector>

namespace {

// Undo and redo are one operation: each step holds the other side of the change and trades
// it with what the map holds now.
struct CellStep {
    MapCell Other;
    std::uint8_t X;
    std::uint8_t Y;
    char Key;
};

struct ChangedCell {
    std::uint16_t Index;  // column-major, from 0
    MapCell Other;
};

struct WholeMapChange {
    MapStep Kind;
    QString OtherName;
    std::vector<ChangedCell> Cells;
};

// A key painted over several cells, each once, in the order painted.
struct StrokeChange {
    char Key;
    std::vector<ChangedCell> Cells;
};

// The fields of a record that ChangeCells keeps: all but the padding, 17 bytes.
constexpr std::size_t PlaceBytes = offsetof(MapCell, Padding1);
constexpr std::size_t ContentStart = offsetof(MapCell, Height);
constexpr std::size_t ContentBytes = offsetof(MapCell, Padding2) - ContentStart;
constexpr std::size_t ReservedStart = offsetof(MapCell, Reserved);
using KeptFields = std::array<std::uint8_t, PlaceBytes + ContentBytes + sizeof(std::int32_t)>;
static_assert(sizeof(KeptFields) == 17);

// Cells changed by one command, kept apart by field so that no byte goes to alignment.
struct CellsChange {
    QString Name;
    std::uint16_t Cursor;
    std::vector<std::uint16_t> Indices;  // grid order
    std::vector<KeptFields> Others;
};

using Step = std::variant<CellStep, std::unique_ptr<WholeMapChange>, std::unique_ptr<StrokeChange>,
                          std::unique_ptr<CellsChange>>;

std::vector<Step> Steps;
// How many steps are applied; the grid is the state after Steps[0, Position).
std::size_t Position = 0;
// None when the saved state can no longer be reached.
std::optional<std::size_t> SavedPosition = 0;
std::size_t WindowSize = DefaultMapHistoryWindow;
// The stack's command i stands for step WindowStart + i.
std::size_t WindowStart = 0;
// Commands pushed or moved over while the stack is built leave the map alone.
bool Silent = false;
// A change or a replay is under way.
bool Busy = false;
std::function<void()> Sink;
std::vector<std::pair<int, std::function<void(const MapHistoryChange&)>>> Listeners;
int LastListenerKey = 0;
// The stroke step that more cells of its stroke join: the last step, until the history
// changes otherwise.
std::optional<std::size_t> OpenStroke;

class ScopedFlag {
public:
    explicit ScopedFlag(bool& flag) : flag_(flag) { flag_ = true; }
    ~ScopedFlag() { flag_ = false; }
    ScopedFlag(const ScopedFlag&) = delete;
    ScopedFlag& operator=(const ScopedFlag&) = delete;

private:
    bool& flag_;
};

constexpr std::size_t Rows = MapSize;
constexpr std::size_t Cells = Rows * MapSize;

MapCell& CellAt(std::size_t index) { return MapGrid[index / Rows][index % Rows]; }

std::uint16_t IndexOf(int x, int y)
{
    return static_cast<std::uint16_t>((x - 1) * MapSize + (y - 1));
}

HexAddress AddressOf(std::uint16_t index)
{
    return {static_cast<int>(index / Rows) + 1, static_cast<int>(index % Rows) + 1};
}

KeptFields Kept(const MapCell& cell)
{
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(&cell);
    KeptFields kept;
    std::memcpy(kept.data(), bytes, PlaceBytes);
    std::memcpy(kept.data() + PlaceBytes, bytes + ContentStart, ContentBytes);
    std::memcpy(kept.data() + PlaceBytes + ContentBytes, bytes + ReservedStart,
                sizeof(std::int32_t));
    return kept;
}

void Restore(const KeptFields& kept, MapCell& cell)
{
    auto* bytes = reinterpret_cast<std::uint8_t*>(&cell);
    std::memcpy(bytes, kept.data(), PlaceBytes);
    std::memcpy(bytes + ContentStart, kept.data() + PlaceBytes, ContentBytes);
    std::memcpy(bytes + ReservedStart, kept.data() + PlaceBytes + ContentBytes,
                sizeof(std::int32_t));
}

const CellStep& Held(const CellStep& step) { return step; }
CellStep& Held(CellStep& step) { return step; }
template <typename T>
T& Held(const std::unique_ptr<T>& step)
{
    return *step;
}

void Trade(std::vector<ChangedCell>& cells)
{
    for (ChangedCell& cell : cells)
        std::swap(cell.Other, CellAt(cell.Index));
}

void Trade(CellStep& step) { std::swap(step.Other, Cell(step.X, step.Y)); }

void Trade(WholeMapChange& change)
{
    Trade(change.Cells);
    std::swap(change.OtherName, MapName);
}

void Trade(StrokeChange& stroke) { Trade(stroke.Cells); }

void Trade(CellsChange& change)
{
    for (std::size_t i = 0; i < change.Indices.size(); ++i) {
        MapCell& cell = CellAt(change.Indices[i]);
        const KeptFields now = Kept(cell);
        Restore(change.Others[i], cell);
        change.Others[i] = now;
    }
}

void Trade(Step& step)
{
    std::visit([](auto& held) { Trade(Held(held)); }, step);
}

QString Name(const CellStep& step) { return KeyStepName(step.Key); }
QString Name(const WholeMapChange& change) { return MapStepName(change.Kind); }
QString Name(const StrokeChange& stroke) { return KeyStepName(stroke.Key); }
QString Name(const CellsChange& change) { return change.Name; }

QString StepName(const Step& step)
{
    return std::visit([](const auto& held) { return Name(Held(held)); }, step);
}

// A thin command over one step record; Qt's own undo and redo trade the step.
class StepCommand : public QUndoCommand {
public:
    explicit StepCommand(std::size_t index) : QUndoCommand(StepName(Steps[index])), index_(index) {}
    void undo() override { Replay(); }
    void redo() override { Replay(); }

private:
    void Replay()
    {
        if (!Silent)
            Trade(Steps[index_]);
    }
    std::size_t index_;
};

QUndoStack& Stack()
{
    static QUndoStack stack;
    return stack;
}

int StackIndex(std::size_t position) { return static_cast<int>(position - WindowStart); }

// The stack anew around Position, the grid untouched: half a window of steps behind it, so
// that as many undos, or pushes, or redos where there are steps ahead, pass before the next.
void Rebuild()
{
    const ScopedFlag silent(Silent);
    QUndoStack& stack = Stack();
    stack.clear();
    WindowStart = Position > WindowSize / 2 ? Position - WindowSize / 2 : 0;
    const std::size_t end = std::min(Steps.size(), WindowStart + WindowSize);
    for (std::size_t i = WindowStart; i < end; ++i)
        stack.push(new StepCommand(i));
    if (SavedPosition && *SavedPosition >= WindowStart && *SavedPosition <= end) {
        stack.setIndex(StackIndex(*SavedPosition));
        stack.setClean();
    } else {
        stack.resetClean();
    }
    stack.setIndex(StackIndex(Position));
}

void HistoryChanged(const MapHistoryChange& change)
{
    OpenStroke.reset();
    MapModified = SavedPosition != Position;
    if (Sink)
        Sink();
    // A copy: a listener may add or remove listeners.
    const auto listeners = Listeners;
    for (const auto& [key, listener] : listeners)
        listener(change);
}

std::optional<MapStep> WholeMapKind(const Step& step)
{
    if (const auto* change = std::get_if<std::unique_ptr<WholeMapChange>>(&step))
        return (*change)->Kind;
    return std::nullopt;
}

void Push(Step step)
{
    if (SavedPosition && *SavedPosition > Position)
        SavedPosition.reset();
    Steps.erase(Steps.begin() + static_cast<std::ptrdiff_t>(Position), Steps.end());
    Steps.push_back(std::move(step));
    {
        const ScopedFlag silent(Silent);
        // Qt drops the commands above the index, as the records beyond Position went.
        Stack().push(new StepCommand(Position));
    }
    ++Position;
    if (static_cast<std::size_t>(Stack().count()) > WindowSize)
        Rebuild();
    HistoryChanged({HistoryChangeKind::Step, WholeMapKind(Steps.back())});
}

std::unique_ptr<WholeMapChange> Difference(MapStep kind, const MapGridType& before,
                                           const QString& nameBefore)
{
    auto change = std::make_unique<WholeMapChange>();
    change->Kind = kind;
    change->OtherName = nameBefore;
    for (std::size_t i = 0; i < Cells; ++i) {
        const MapCell& old = before[i / Rows][i % Rows];
        if (std::memcmp(&old, &CellAt(i), sizeof(MapCell)) != 0)
            change->Cells.push_back({static_cast<std::uint16_t>(i), old});
    }
    change->Cells.shrink_to_fit();
    return change;
}

ReplayedStep Replayed(const CellStep& step)
{
    return {false, false, {{step.X, step.Y}}, std::nullopt};
}

ReplayedStep Replayed(const WholeMapChange& change)
{
    return {true, change.OtherName != MapName, {}, std::nullopt};
}

ReplayedStep Replayed(const StrokeChange& stroke)
{
    ReplayedStep replayed{false, false, {}, std::nullopt};
    replayed.Cells.reserve(stroke.Cells.size());
    for (const ChangedCell& cell : stroke.Cells)
        replayed.Cells.push_back(AddressOf(cell.Index));
    return replayed;
}

ReplayedStep Replayed(const CellsChange& change)
{
    ReplayedStep replayed{false, false, {}, AddressOf(change.Cursor)};
    replayed.Cells.reserve(change.Indices.size());
    for (const std::uint16_t index : change.Indices)
        replayed.Cells.push_back(AddressOf(index));
    return replayed;
}

ReplayedStep Replayed(const Step& step)
{
    return std::visit([](const auto& held) { return Replayed(Held(held)); }, step);
}

}  // namespace

QString MapStepName(MapStep step)
{
    switch (step) {
    case MapStep::New: return QStringLiteral("New");
    case MapStep::RandomMap: return QStringLiteral("Random map");
    case MapStep::Clear: return QStringLiteral("Clear");
    case MapStep::Load: return QStringLiteral("Load");
    case MapStep::Reload: return QStringLiteral("Reload");
    }
    return {};
}

void ResetMapHistory()
{
    {
        const ScopedFlag silent(Silent);
        Stack().clear();
    }
    Steps.clear();
    Steps.shrink_to_fit();
    Position = 0;
    SavedPosition = 0;
    WindowStart = 0;
    HistoryChanged({HistoryChangeKind::Reset, std::nullopt});
}

bool RecordCellChange(int x, int y, char key, const MapCell& before)
{
    if (std::memcmp(&before, &Cell(x, y), sizeof(MapCell)) == 0)
        return false;
    Push(CellStep{before, static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y), key});
    return true;
}

bool RecordStrokeCell(int x, int y, char key, const MapCell& before)
{
    if (std::memcmp(&before, &Cell(x, y), sizeof(MapCell)) == 0)
        return false;
    const ChangedCell cell{IndexOf(x, y), before};
    if (OpenStroke) {
        StrokeChange& stroke = *std::get<std::unique_ptr<StrokeChange>>(Steps[*OpenStroke]);
        if (stroke.Key == key) {
            stroke.Cells.push_back(cell);
            return true;
        }
    }
    Push(std::make_unique<StrokeChange>(StrokeChange{key, {cell}}));
    OpenStroke = Position - 1;
    return true;
}

void EndStrokeStep() { OpenStroke.reset(); }

void ChangeWholeMap(MapStep step, const std::function<void()>& change)
{
    const auto before = std::make_unique<const MapGridType>(MapGrid);
    const QString nameBefore = MapName;
    {
        const ScopedFlag busy(Busy);
        try {
            change();
        } catch (...) {
            MapGrid = *before;
            MapName = nameBefore;
            throw;
        }
    }
    Push(Difference(step, *before, nameBefore));
}

HexSet ChangeCells(const QString& name, const std::function<void()>& change)
{
    const auto before = std::make_unique<const MapGridType>(MapGrid);
    {
        const ScopedFlag busy(Busy);
        try {
            change();
        } catch (...) {
            MapGrid = *before;
            throw;
        }
    }
    std::vector<std::uint16_t> indices;
    std::vector<KeptFields> others;
    HexSet changed;
    for (std::size_t i = 0; i < Cells; ++i) {
        const KeptFields old = Kept((*before)[i / Rows][i % Rows]);
        if (old == Kept(CellAt(i)))
            continue;
        indices.push_back(static_cast<std::uint16_t>(i));
        others.push_back(old);
        changed.Insert(AddressOf(indices.back()));
    }
    if (!changed.Empty())
        // Copied, so that each vector holds exactly its cells.
        Push(std::make_unique<CellsChange>(
            CellsChange{name, IndexOf(CursorX, CursorY),
                        std::vector<std::uint16_t>(indices.begin(), indices.end()),
                        std::vector<KeptFields>(others.begin(), others.end())}));
    return changed;
}

void MarkMapSaved()
{
    SavedPosition = Position;
    Stack().setClean();
    HistoryChanged({HistoryChangeKind::Saved, std::nullopt});
}

void MarkMapUnsaved()
{
    SavedPosition.reset();
    Stack().resetClean();
    HistoryChanged({HistoryChangeKind::Unsaved, std::nullopt});
}

bool CanUndoMapChange() { return Position > 0; }

bool CanRedoMapChange() { return Position < Steps.size(); }

QString UndoStepName() { return CanUndoMapChange() ? StepName(Steps[Position - 1]) : QString(); }

QString RedoStepName() { return CanRedoMapChange() ? StepName(Steps[Position]) : QString(); }

std::optional<ReplayedStep> UndoMapChange()
{
    if (Busy || !CanUndoMapChange())
        return std::nullopt;
    std::optional<ReplayedStep> replayed;
    {
        const ScopedFlag busy(Busy);
        if (Stack().index() == 0)
            Rebuild();
        Stack().undo();
        --Position;
        replayed = Replayed(Steps[Position]);
    }
    HistoryChanged({HistoryChangeKind::Undo, WholeMapKind(Steps[Position])});
    return replayed;
}

std::optional<ReplayedStep> RedoMapChange()
{
    if (Busy || !CanRedoMapChange())
        return std::nullopt;
    std::optional<ReplayedStep> replayed;
    {
        const ScopedFlag busy(Busy);
        if (Stack().index() == Stack().count())
            Rebuild();
        Stack().redo();
        replayed = Replayed(Steps[Position]);
        ++Position;
    }
    HistoryChanged({HistoryChangeKind::Redo, WholeMapKind(Steps[Position - 1])});
    return replayed;
}

void SetMapHistorySink(std::function<void()> sink) { Sink = std::move(sink); }

int AddMapHistoryListener(std::function<void(const MapHistoryChange&)> listener)
{
    Listeners.emplace_back(++LastListenerKey, std::move(listener));
    return LastListenerKey;
}

void RemoveMapHistoryListener(int key)
{
    std::erase_if(Listeners, [key](const auto& entry) { return entry.first == key; });
}

void SetMapHistoryWindow(std::size_t commands)
{
    WindowSize = std::max<std::size_t>(commands, 2);
    Rebuild();
}

const QUndoStack& MapUndoStack() { return Stack(); }
