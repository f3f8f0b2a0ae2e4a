#pragma once
// Checks made on a compressed identity photo before it is handed to a decoder: it must start
// with "W", "L", "f", and no byte may repeat the one before it too many times in a row (a
// long run is the sign of a damaged read).
#include "platform/bytes.h"

namespace quorvane {

bool wltHasSignature(Bytes wlt);
// Longest number of times a byte repeats its predecessor (the byte before the first counts
// as 0).
int wltLongestRepeat(Bytes wlt);
// Both checks; maxRepeat is bad-image-repeat-cnt (default 10).
bool wltAcceptable(Bytes wlt, int maxRepeat);

} // namespace quorvane
