#include "sim_dump_request.h"

#include <csignal>
#include <cstdlib>
#include <sstream>

#include "test_paths.h"

namespace quorvane::test {

namespace {
// The number of the last "dump N" line the simulator printed so far; 0 before any.
long lastDumpNumber(const std::string& output) {
    long last = 0;
    std::istringstream in(output);
    for (std::string line; std::getline(in, line);)
        if (line.rfind("dump ", 0) == 0)
            last = std::strtol(line.c_str() + 5, nullptr, 10);
    return last;
}
} // namespace

std::optional<JsonValue> requestSimDump(ChildProcess& sim, const std::string& dumpFile,
                                        std::chrono::milliseconds limit) {
    if (sim.pid() <= 0)
        return std::nullopt;
    long next = lastDumpNumber(sim.output()) + 1;
    ::kill(sim.pid(), SIGUSR1);
    if (!sim.waitForLine("\ndump " + std::to_string(next) + "\n", limit))
        return std::nullopt;
    return readSimDump(dumpFile);
}

std::optional<JsonValue> readSimDump(const std::string& dumpFile) {
    return parseJson(readFile(dumpFile)); // a missing file reads empty, which is no JSON
}

JsonValue simController(const JsonValue& dump, const std::string& address) {
    const JsonValue list = dump["controllers"];
    for (std::size_t i = 0; i < list.size(); ++i)
        if (list[i]["address"].str() == address)
            return list[i];
    return {};
}

} // namespace quorvane::test
