#pragma once
// The variables of a text command sent to many controllers: each target's text is the
// command with {DEVID}, {DEVID_LAST2}, {SYSTIME}, {RAND1}, {RAND2}, {RAND4} and the one
// sequence token ({SEQ100} …) filled in for that target.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace quorvane {

class Clock;

// Every occurrence of token in text replaced, scanning from the left; a replacement is not
// scanned again.
std::string replaceAll(std::string_view text, std::string_view token, std::string_view replacement);

// The sequence of one run: the first "{SEQ" and the first "}" after it make the token; the
// start value is the number right after "{SEQ" as the C library's integer conversion reads it
// ({SEQ} is 0). No closing brace: no sequence, and "{SEQ" is sent as typed.
struct TextSequence {
    std::string token;
    long long next = 0;

    static std::optional<TextSequence> find(std::string_view command);
};

// Values of 0..32767, like the C library's generator the window seeds once at start.
using TextRandom = std::function<unsigned()>;

// The command for one target. Each variable takes one value per target, shared by all its
// occurrences; the sequence (when there is one and its value is not negative) grows by one
// for the next target.
std::string expandVariables(std::string_view command, std::uint16_t targetId,
                            std::optional<TextSequence>& sequence, const Clock& clock,
                            const TextRandom& random);

} // namespace quorvane
