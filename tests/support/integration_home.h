#pragma once
// A program directory for tests that talk to real processes: config.ini searches 127.255.255.255
// on the test's own port with multicast off, the pipe has a name of its own, and
// $XDG_RUNTIME_DIR points into the scratch directory so pipes of parallel tests never meet.
#include <cstdlib>
#include <sstream>
#include <string>

#include "child_process.h"
#include "cli_context.h"
#include "test_paths.h"

namespace quorvane::test {

inline constexpr const char* kDefaultPasswordDigest = "961b74e72e3212585228372772981543";

struct IntegrationHome {
    explicit IntegrationHome(int portOffset = 0, const std::string& extraNet = {}) {
        port = testPort(portOffset);
        home = scratchDir("home");
        std::string runtime = home + "/run";
        writeFile(runtime + "/.keep", "");
        ::setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
        writeFile(home + "/config.ini",
                  "[net]\ncommon-dev-admin-port=" + std::to_string(port) +
                      "\ncommon-broadcast-address=2147483647\nenable-mcast=0\n"
                      "enable-pipe=1\npipe-name=itpipe\n" +
                      extraNet + "\n[db]\nxstr=" + kDefaultPasswordDigest + "\n");
    }
    // quorvane-cli in this process; its standard output.
    std::string cli(std::vector<std::string> words, int* exitCode = nullptr,
                    std::string* errText = nullptr) const {
        std::vector<std::string> args = {"--home", home, "--password", "720418"};
        args.insert(args.end(), words.begin(), words.end());
        std::ostringstream out, err;
        int rc = cli::runCli(args, out, err);
        if (exitCode)
            *exitCode = rc;
        if (errText)
            *errText = err.str();
        return out.str();
    }
    std::string home;
    int port = 0;
};

// quorvane-sim on port, with the options given.
inline ChildProcess startSim(int port, std::vector<std::string> extra = {}) {
    std::vector<std::string> argv = {simPath(), "--port", std::to_string(port)};
    argv.insert(argv.end(), extra.begin(), extra.end());
    return ChildProcess(argv);
}

inline std::vector<std::string> splitAt(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::istringstream in(text);
    for (std::string part; std::getline(in, part, separator);)
        parts.push_back(part);
    return parts;
}
inline std::vector<std::string> splitLines(const std::string& text) {
    return splitAt(text, '\n');
}
inline std::vector<std::string> splitTabs(const std::string& line) {
    return splitAt(line, '\t');
}

} // namespace quorvane::test
