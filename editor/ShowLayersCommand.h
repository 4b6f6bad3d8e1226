#pragma once
// View, Show: which layers of the map the view shows.

#include "editor/EditorView.h"
#include "graphics/MapLayers.h"

// The view shows the layers of shown (ShowLayers), the cursor mark with them while editing.
// The map, its file and the map image are left alone.
void ShowLayersCommand(LayerMask shown, EditorView& view);
