#include <iostream>

#include "cli_context.h"
#include "platform/stop_signals.h"
#include "platform/terminal.h"

int main(int argc, char** argv) {
    quorvane::platform::catchStopSignals();
    quorvane::cli::Args args(argv + 1, argv + argc);
    int rc =
        quorvane::cli::runCli(args, std::cout, std::cerr, quorvane::platform::stderrIsTerminal());
    // A batch stopped by Ctrl-C or SIGTERM finished as a cancelled one.
    return quorvane::platform::stopSignalReceived() ? quorvane::cli::kStoppedBySignal : rc;
}
