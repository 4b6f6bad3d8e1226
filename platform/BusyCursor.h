#pragma once
// Long commands show the busy cursor while they run; the guard brings the default cursor
// back however the command ends. Nested guards keep the busy cursor until the outermost ends.

#include <functional>

class BusyCursor {
public:
    BusyCursor();
    ~BusyCursor();
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

// The editor shows and hides the real cursor; without hooks the guard does nothing.
void SetBusyCursorHooks(std::function<void()> showBusy, std::function<void()> showDefault);
