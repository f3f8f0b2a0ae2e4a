#include "infra/program_dir.h"

#include "platform/files.h"

namespace quorvane {

std::string programDirectory() {
    std::string home = platform::environment("QUORVANE_HOME");
    if (!home.empty())
        return home;
    return platform::executableDirectory();
}

} // namespace quorvane
