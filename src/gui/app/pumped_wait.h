#pragma once
// A wait that would block the window's thread (a script the tool waits for) runs on a helper
// thread while the window keeps drawing itself and handling its timers and notices.
#include <functional>

namespace quorvane::gui {

// Runs work to its end. On the window's thread, events are processed meanwhile; on any other
// thread work simply runs.
void runWithoutFreezing(const std::function<void()>& work);

} // namespace quorvane::gui
