#pragma once
// The main window as editing sees it: the seam through which keys, clicks and commands draw
// on the map view, scroll it and fill the status bar. Tests put a recording view in its place.

#include <QString>

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
    // View pixels per map pixel: the map view's zoom.
    virtual double ViewScale() const { return 1; }
    virtual void SetEditCaption(const QString& caption) = 0;
    // The whole map anew, without the cursor mark.
    virtual void RedrawWholeMap() = 0;
    // Whether editing mode is on, so that the cursor mark shows.
    virtual bool EditingMode() const = 0;
};
