#include "idcard/wlt_check.h"

namespace quorvane {

bool wltHasSignature(Bytes wlt) {
    return wlt.size() >= 3 && wlt[0] == 'W' && wlt[1] == 'L' && wlt[2] == 'f';
}

int wltLongestRepeat(Bytes wlt) {
    int longest = 0;
    int repeats = 0;
    std::uint8_t previous = 0;
    for (std::uint8_t b : wlt) {
        repeats = b == previous ? repeats + 1 : 0;
        if (repeats > longest) longest = repeats;
        previous = b;
    }
    return longest;
}

bool wltAcceptable(Bytes wlt, int maxRepeat) {
    return wltHasSignature(wlt) && wltLongestRepeat(wlt) <= maxRepeat;
}

} // namespace quorvane
