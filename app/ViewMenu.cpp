// Copyright 2026 The Gridcrafter developers
// SPDX-License-Identifier: LicenseRef-Gridcrafter-Proprietary

#include "app/ViewMenu.h"

#include "app/MapImage.h"
#include "app/Preferences.h"
#include "app/ZoomedView.h"
#include "editor/ShowLayersCommand.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>

namespace {

const QString ZoomKey = QStringLiteral("View/Zoom");

QString LayerEntryText(MapLayer layer)
{
    // Access letters of their own within the submenu.
    switch (layer) {
    case MapLayer::Swamp: return QStringLiteral("S&wamp");
    case MapLayer::River: return QStringLiteral("Ri&ver");
    default: return QLatin1Char('&') + LayerName(layer);
    }
}

}  // namespace

TViewMenu::TViewMenu(QMenuBar& bar, QAction* before, TZoomedView& zoom, TMapImage& image,
                     EditorView& editor, QObject* parent)
    : QObject(parent), zoom_(zoom), editor_(editor)
{
    auto* menu = new QMenu(QStringLiteral("&View"), &bar);
    menu->setObjectName(QStringLiteral("View1"));
    bar.insertMenu(before, menu);

    // Past the last step they stay enabled and do nothing, so that their keys never go on to
    // the control with the focus.
    QAction* zoomIn = AddEntry(*menu, QStringLiteral("ZoomIn1"), QStringLiteral("Zoom &In"),
                               QStringLiteral("Shows the map larger"));
    zoomIn->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)});
    connect(zoomIn, &QAction::triggered, &zoom_, &TZoomedView::ZoomIn);
    QAction* zoomOut = AddEntry(*menu, QStringLiteral("ZoomOut1"), QStringLiteral("Zoom &Out"),
                                QStringLiteral("Shows the map smaller"));
    zoomOut->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Minus));
    connect(zoomOut, &QAction::triggered, &zoom_, &TZoomedView::ZoomOut);
    QAction* actual = AddEntry(*menu, QStringLiteral("ActualSize1"), QStringLiteral("&Actual Size"),
                               QStringLiteral("Shows the map image pixel for pixel"));
    actual->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_0));
    connect(actual, &QAction::triggered, &zoom_, &TZoomedView::ActualSize);
    fit_ = AddEntry(
        *menu, QStringLiteral("FitMap1"), QStringLiteral("&Fit Map"),
        QStringLiteral("Shows the whole map in the view, also when the window is resized"));
    fit_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Slash));
    fit_->setCheckable(true);
    // Chosen while fitting, it stays checked: fitting ends only with another zoom.
    connect(fit_, &QAction::triggered, this, [this] {
        zoom_.FitMap();
        ShowZoom();
    });
    AddZoomEntries(*menu);
    menu->addSeparator();

    QAction* coordinates =
        AddEntry(*menu, QStringLiteral("HexCoordinates1"), QStringLiteral("Hex &Coordinates"),
                 QStringLiteral("Shows each hex's column and row over the map"));
    coordinates->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_K));
    coordinates->setCheckable(true);
    connect(coordinates, &QAction::toggled, &image, &TMapImage::SetCoordinatesShown);
    AddLayerEntries(*menu);

    zoom_.Restore(EditorPreferences().value(ZoomKey).toString());
    ShowZoom();
    connect(&zoom_, &TZoomedView::ZoomChanged, this, [this] {
        ShowZoom();
        EditorPreferences().setValue(ZoomKey, zoom_.Zoom().Saved());
    });
}

QAction* TViewMenu::AddEntry(QMenu& menu, const QString& name, const QString& text,
                             const QString& hint)
{
    QAction* entry = menu.addAction(text);
    entry->setObjectName(name);
    entry->setStatusTip(hint);
    return entry;
}

void TViewMenu::AddZoomEntries(QMenu& menu)
{
    QMenu* steps = menu.addMenu(QStringLiteral("&Zoom"));
    steps->setObjectName(QStringLiteral("Zoom1"));
    steps->setStatusTip(QStringLiteral("Shows the map at one of these sizes"));
    steps_ = new QActionGroup(steps);
    // None is checked while fitting.
    steps_->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    for (const int percent : ZoomSteps) {
        QAction* step = steps->addAction(QStringLiteral("%1 %").arg(percent));
        step->setObjectName(QStringLiteral("Zoom%1").arg(percent));
        step->setStatusTip(QStringLiteral("Shows the map at %1 % of the map image").arg(percent));
        step->setCheckable(true);
        step->setData(percent);
        steps_->addAction(step);
        connect(step, &QAction::triggered, this, [this, percent] { zoom_.ZoomTo(percent); });
    }
}

void TViewMenu::AddLayerEntries(QMenu& menu)
{
    QMenu* show = menu.addMenu(QStringLiteral("&Show"));
    show->setObjectName(QStringLiteral("Show1"));
    show->setStatusTip(QStringLiteral("Shows or hides a layer of the map in the view"));
    for (const MapLayer layer : MapLayers) {
        QAction* entry = show->addAction(LayerEntryText(layer));
        entry->setObjectName(QStringLiteral("Show") + LayerName(layer) + QLatin1Char('1'));
        entry->setStatusTip(QStringLiteral("Shows or hides the layer %1 in the view; the map "
                                           "and its file keep it")
                                .arg(LayerName(layer)));
        entry->setCheckable(true);
        entry->setChecked(true);
        entry->setData(static_cast<int>(LayerBit(layer)));
        connect(entry, &QAction::toggled, this, &TViewMenu::ShowLayers);
        layers_ << entry;
    }
}

void TViewMenu::ShowZoom()
{
    const MapZoom& zoom = zoom_.Zoom();
    fit_->setChecked(zoom.Fitting());
    for (QAction* step : steps_->actions())
        step->setChecked(zoom.Percent() == step->data().toInt());
}

void TViewMenu::ShowLayers()
{
    LayerMask shown = 0;
    for (const QAction* entry : layers_)
        if (entry->isChecked())
            shown |= static_cast<LayerMask>(entry->data().toInt());
    ShowLayersCommand(shown, editor_);
}
