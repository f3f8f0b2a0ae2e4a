#include <gtest/gtest.h>

#include <cstdlib>

#include "infra/program_dir.h"
#include "platform/files.h"

namespace quorvane {

// The window changes into its program directory; a relative $QUORVANE_HOME resolved again from
// there once read rel/rel/config.ini.
TEST(ProgramDirectory, ARelativeHomeIsMadeAbsoluteOnceAndAnAbsoluteOneKept) {
    ::setenv("QUORVANE_HOME", "site/a", 1);
    EXPECT_EQ(programDirectory(), platform::currentDirectory() + "/site/a");
    ::setenv("QUORVANE_HOME", "/opt/site", 1);
    EXPECT_EQ(programDirectory(), "/opt/site");
    ::unsetenv("QUORVANE_HOME");
}

} // namespace quorvane
