#pragma once
// A tool session on a scratch program directory without the pipe, that sends nothing unless a
// test makes it, its messages and questions recorded.
#include <string>

#include "recording_user_port.h"
#include "session/tool_session.h"
#include "test_paths.h"

namespace quorvane::test {

struct OfflineSession {
    explicit OfflineSession(const std::string& name) : home(preparedHome(name)) {}

    std::string home;
    RecordingUserPort port;
    ToolSession session{home, port};

  private:
    static std::string preparedHome(const std::string& name) {
        std::string dir = scratchDir(name);
        writeFile(dir + "/config.ini", "[net]\nenable-pipe=0\n");
        return dir;
    }
};

} // namespace quorvane::test
