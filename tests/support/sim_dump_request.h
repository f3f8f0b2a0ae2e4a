#pragma once
// Reading quorvane-sim's state dump from a test. The simulator must have been started with
// "--dump FILE": it writes FILE whole on SIGUSR1 and when it stops, and prints "dump N" (N
// counting from 1) on standard output after each write.
#include <chrono>
#include <optional>
#include <string>

#include "child_process.h"
#include "json_value.h"

namespace quorvane::test {

// Asks the running simulator for a fresh dump and reads it: waits for its "ready" line, sends
// SIGUSR1, waits for the next "dump N" line, then parses FILE. Nothing when no dump came within
// the limit or the file is not JSON.
std::optional<JsonValue> requestSimDump(ChildProcess& sim, const std::string& dumpFile,
                                        std::chrono::milliseconds limit = std::chrono::seconds(20));

// Parses the dump in FILE as it is (the one written when the simulator stopped, say).
std::optional<JsonValue> readSimDump(const std::string& dumpFile);

// The entry of the controller at address in a dump; a null value when there is none.
JsonValue simController(const JsonValue& dump, const std::string& address);

} // namespace quorvane::test
