#include "infra/program_dir.h"

#include "platform/files.h"

namespace quorvane {

std::string programDirectory() {
    std::string home = platform::environment("QUORVANE_HOME");
    if (home.empty())
        return platform::executableDirectory();
    // Made absolute here, once: the window changes into it, and a relative name would then
    // be resolved a second time from inside it.
    if (home.front() != '/')
        home = platform::currentDirectory() + "/" + home;
    return home;
}

} // namespace quorvane
