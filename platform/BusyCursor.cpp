#include "platform/BusyCursor.h"

#include <utility>

namespace {
std::function<void()> ShowBusy;
std::function<void()> ShowDefault;
int Depth = 0;
}  // namespace

BusyCursor::BusyCursor()
{
    // Counted only once shown: a hook that throws leaves no guard behind to undo it.
    if (Depth == 0 && ShowBusy)
        ShowBusy();
    ++Depth;
}

BusyCursor::~BusyCursor()
{
    if (--Depth == 0 && ShowDefault)
        ShowDefault();
}

void SetBusyCursorHooks(std::function<void()> showBusy, std::function<void()> showDefault)
{
    ShowBusy = std::move(showBusy);
    ShowDefault = std::move(showDefault);
}
