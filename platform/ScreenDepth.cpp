#include "platform/ScreenDepth.h"

#include <QGuiApplication>
#include <QScreen>

namespace {

std::function<int()> DepthSource;

int PrimaryScreenDepth()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->depth() : 0;
}

}  // namespace

int ScreenBitsPerPixel() { return DepthSource ? DepthSource() : PrimaryScreenDepth(); }

void SetScreenDepthSource(std::function<int()> source) { DepthSource = std::move(source); }
