#pragma once
// The application's current hint: the long part of the hint of the control under the
// pointer, or of the highlighted menu entry. Hints are the status tips of widgets and
// actions, written as "short|long"; no hint pop-ups are shown.

#include <QString>
#include <functional>

class QAction;
class QWidget;

// The text after the first "|", or the whole hint when it has none.
QString GetLongHint(const QString& hint);
// The hint of widget, or of its nearest parent that has one; empty for none.
QString WidgetHint(const QWidget* widget);
// The hint of a menu entry; an entry that opens a submenu has that menu's hint.
QString ActionHint(const QAction* action);

QString ApplicationHint();
// Runs handler whenever the current hint changes (nullptr for none). Once installed, the
// hint is taken anew each time input has been handled and the application falls idle.
void SetHintHandler(std::function<void()> handler);
