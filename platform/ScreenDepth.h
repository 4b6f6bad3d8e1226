#pragma once
// The screen's colour depth, behind a seam: tests cannot run on a real 8-bit screen.

#include <functional>

// Bits per pixel of the screen: the primary screen's depth unless a source is installed.
int ScreenBitsPerPixel();
// Installs the source of the depth; an empty function goes back to the primary screen.
void SetScreenDepthSource(std::function<int()> source);
