#pragma once
// quorvane-cli run inside the test: its exit code and what it wrote to each stream.
#include <span>
#include <sstream>
#include <string>

#include "cli_context.h"

namespace quorvane::cli {

struct Outcome {
    int code;
    std::string out, err;
};

inline Outcome runWith(std::span<const CliCommand> commands, const Args& args) {
    std::ostringstream out, err;
    int code = runCliWith(commands, args, out, err);
    return {code, out.str(), err.str()};
}

inline Outcome runReal(const Args& args) {
    return runWith(cliCommands(), args);
}

} // namespace quorvane::cli
