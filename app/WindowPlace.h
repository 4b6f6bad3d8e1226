#pragma once
// The main window's size and place, kept in the editor's preferences from one run to the next.

#include <QList>
#include <QRect>

class QWidget;

// Whether geometry (a window without its frame, in screen coordinates) lies wholly inside
// one of the areas, each the part of a screen that windows may take.
bool FitsOnAScreen(const QRect& geometry, const QList<QRect>& areas);

// Keeps the window's size and place as they are when not maximised, whether it is, and the
// device pixel ratio they were kept at.
void SaveWindowPlace(const QWidget& window);

// Gives the window the size and place last kept, when they were kept at the window's device
// pixel ratio (a scale factor's coordinates mean other places at another) and fit on a screen
// of this run; returns whether it did.
bool RestoreWindowPlace(QWidget& window);
