#include <iostream>

#include "cli_context.h"
#include "platform/stop_signals.h"

// A batch stopped by Ctrl-C or SIGTERM finishes as a cancelled one and exits 128 + SIGINT.
constexpr int kStoppedBySignal = 130;

int main(int argc, char** argv) {
    quorvane::platform::catchStopSignals();
    quorvane::cli::Args args(argv + 1, argv + argc);
    int rc = quorvane::cli::runCli(args, std::cout, std::cerr);
    return quorvane::platform::stopSignalReceived() ? kStoppedBySignal : rc;
}
