#pragma once
// Ctrl-C (SIGINT) and SIGTERM as a request to stop: a command-line batch then ends as the
// window's Cancel ends it (the item in flight settled, the rest listed, the summary shown)
// instead of the process dying with a card on the controller and not in the grant log. A
// second signal ends the process at once.

namespace quorvane::platform {

void catchStopSignals();
bool stopSignalReceived();
// Forgets a received signal (tests).
void clearStopSignal();

} // namespace quorvane::platform
