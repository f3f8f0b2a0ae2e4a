#include <gtest/gtest.h>

#include "infra/shown_text.h"

namespace quorvane {

// A 10 MB card text once became a 10 MB message and failure-list line, and ESC, BEL and NUL
// reached the grant log and the service's output as they came.
TEST(ShownText, ControlBytesBecomeQuestionMarksAndLongTextsAreCutOnACharacter) {
    using namespace std::string_literals;
    EXPECT_EQ(shownText("a\x1b[2Jb\a\0c\td\x7f"s), "a?[2Jb??c\td?");
    EXPECT_EQ(shownText(std::string(10'000'000, '7')), std::string(256, '7') + "…");
    EXPECT_EQ(shownText("门门", 4), "门…"); // the second character would be cut in half
    EXPECT_EQ(shownText("门门", 6), "门门");
}

} // namespace quorvane
