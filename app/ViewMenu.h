#pragma once
// The main window's View menu, between Edit and Help: Zoom In, Zoom Out, Actual Size, Fit
// Map and the zoom steps (the zoom shown checked), Hex Coordinates, and Show with a
// checkable entry per layer. The zoom is kept in the editor's preferences; the layers
// start all shown and the coordinates hidden in every run.

#include "graphics/MapLayers.h"

#include <QObject>

class EditorView;
class QAction;
class QActionGroup;
class QMenu;
class QMenuBar;
class TMapImage;
class TZoomedView;

class TViewMenu : public QObject {
    Q_OBJECT
public:
    // Puts the menu into bar before the entry before; the zoom it had last is restored.
    TViewMenu(QMenuBar& bar, QAction* before, TZoomedView& zoom, TMapImage& image,
              EditorView& editor, QObject* parent);

private:
    QAction* AddEntry(QMenu& menu, const QString& name, const QString& text, const QString& hint);
    void AddZoomEntries(QMenu& menu);
    void AddLayerEntries(QMenu& menu);
    // Checks the zoom shown.
    void ShowZoom();
    void ShowLayers();

    TZoomedView& zoom_;
    EditorView& editor_;
    QAction* fit_ = nullptr;
    QActionGroup* steps_ = nullptr;
    QList<QAction*> layers_;
};
