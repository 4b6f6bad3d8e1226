#pragma once
// The main window as the keyboard editor sees it, logging each call in order. The scroll
// positions stay within the range of a 1590 by 1301 image, at the view's Scale, shown in a
// view of the given size.

#include "editor/EditorView.h"

#include <QString>
#include <QStringList>

class RecordingView : public EditorView {
public:
    RecordingView(int width, int height) : width_(width), height_(height) {}

    void DrawCell(int x, int y, bool repaint) override
    {
        Calls << QStringLiteral("DrawCell %1,%2%3").arg(x).arg(y).arg(repaint ? " repaint" : "");
    }
    void DrawCursor(int x, int y) override
    {
        Calls << QStringLiteral("DrawCursor %1,%2").arg(x).arg(y);
    }
    void RepaintMap() override { Calls << QStringLiteral("RepaintMap"); }
    void ShowHexInfo(int x, int y) override
    {
        Calls << QStringLiteral("ShowHexInfo %1,%2").arg(x).arg(y);
    }
    int ViewWidth() const override { return width_; }
    int ViewHeight() const override { return height_; }
    int HorzScrollPosition() const override { return horz_; }
    int VertScrollPosition() const override { return vert_; }
    void SetHorzScrollPosition(int position) override
    {
        Calls << QStringLiteral("SetHorzScrollPosition %1").arg(position);
        horz_ = Limited(position, Zoomed(1590) - width_);
    }
    void SetVertScrollPosition(int position) override
    {
        Calls << QStringLiteral("SetVertScrollPosition %1").arg(position);
        vert_ = Limited(position, Zoomed(1301) - height_);
    }
    void SetEditCaption(const QString& caption) override
    {
        Calls << QStringLiteral("SetEditCaption ") + caption;
    }
    void RedrawWholeMap() override { Calls << QStringLiteral("RedrawWholeMap"); }
    bool EditingMode() const override { return Editing; }
    double ViewScale() const override { return Scale; }

    // Places the view as its scroll bars would, without logging.
    void ScrollTo(int horz, int vert)
    {
        horz_ = horz;
        vert_ = vert;
    }

    QStringList Calls;
    bool Editing = true;
    double Scale = 1;

private:
    int Zoomed(int length) const { return static_cast<int>(length * Scale + 0.999); }
    static int Limited(int position, int maximum)
    {
        return position < 0 ? 0 : position > maximum ? maximum : position;
    }

    int width_;
    int height_;
    int horz_ = 0;
    int vert_ = 0;
};
