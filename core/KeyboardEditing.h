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
};

// Upper-cases "a" to "z" only.
char UpperKey(char key);

// Whether the (upper-cased) key counts as a change of the map whatever it did to the cell.
bool IsEditKey(char key);

// The typed character, already upper-cased, applied to the cursor cell and the cursor:
// the key table, the scroll band, the limits and the redraws.
void EditorKeyPress(char key, EditorView& view);

// Whether the cursor cell lies outside the band in which the view keeps it.
bool NeedsHorzScroll(const EditorView& view);
bool NeedsVertScroll(const EditorView& view);

// What switching editing mode on or off draws and shows.
void EditingModeSwitched(bool on, EditorView& view);
