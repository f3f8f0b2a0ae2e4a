#include "sim_dump_request.h"

#include <csignal>
#include <cstdlib>

#include "test_paths.h"

namespace quorvane::test {

std::optional<JsonValue> requestSimDump(ChildProcess& sim, const std::string& dumpFile,
                                        std::chrono::milliseconds limit) {
    if (sim.pid() <= 0)
        return std::nullopt;
    // The simulator's first line is "ready", so every "dump N" line follows a line break.
    const auto at = sim.output().rfind("\ndump ");
    const char* last = at == std::string::npos ? "0" : sim.output().c_str() + at + 6;
    const long next = std::strtol(last, nullptr, 10) + 1;
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
