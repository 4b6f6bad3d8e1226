#pragma once
// Editing the map from the keyboard: the key table, cursor moves with the scroll band,
// and what has to be drawn afterwards. The main window is reached through EditorView.

#include <QString>

// The main window as the keyboard editor sees it.
class EditorView {
public:
    virtual ~EditorView() = default;
    virtual void DrawCell(int x, int y, bool repaint) = 0;
    virtual void DrawCursor(int x, int y) = 0;
    virtual void RepaintMap() = 0;
    // Panel 0 of the status bar gets DescribeHex(x, y).
    virtual void ShowHexInfo(int x, int y) = 0;
    // The scroll box: its whole size (border and scroll bars included) and its scroll
    // positions in pixels; setting a position keeps it within the scroll range.
    virtual int ViewWidth() const = 0;
    virtual int ViewHeight() const = 0;
    virtual int HorzScrollPosition() const = 0;
    virtual int VertScrollPosition() const = 0;
    virtual void SetHorzScrollPosition(int position) = 0;
    virtual void SetVertScrollPosition(int position) = 0;
    virtual void SetEditCaption(const QString& caption) = 0;
    // The whole map anew, without the cursor mark.
    virtual void RedrawWholeMap() = 0;
    // Whether editing mode is on, so that the cursor mark shows.
    virtual bool EditingMode() const = 0;
};

// Upper-cases "a" to "z" only.
char UpperKey(char key);

// Whether the (upper-cased) key counts as a change of the map whatever it did to the cell.
bool IsEditKey(char key);

// What an editing key does, as the Edit menu names its step: "Road", "Water", "Raise".
QString KeyStepName(char key);

// The typed character, already upper-cased, applied to the cursor cell and the cursor:
// the key table, the scroll band, the limits and the redraws. A change of the cell's bytes
// is one step of the map's history.
void EditorKeyPress(char key, EditorView& view);

// Undo or redo changed the cell (x, y): the cursor moves there (its old mark painted over),
// the cell and its neighbours are drawn anew so that the joins follow, the mark shows while
// editing, and the status bar describes the cell.
void ShowReplayedCell(int x, int y, EditorView& view);

// Whether the cursor cell lies outside the band in which the view keeps it.
bool NeedsHorzScroll(const EditorView& view);
bool NeedsVertScroll(const EditorView& view);

// What switching editing mode on or off draws and shows.
void EditingModeSwitched(bool on, EditorView& view);
