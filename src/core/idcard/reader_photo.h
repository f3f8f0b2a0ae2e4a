#pragma once
// Where the photo of a card read on the local reader ends up: the compressed photo is written
// as "N.wlt" in the program directory, the decoder turns it into "N.bmp" beside it, and the BMP
// moves to ".\img\N.bmp" with a mirror copy in ".\bmp\N.bmp", the folders every identity photo
// of the tool lives in. The raw photo is kept as ".\img\N.wlt" so that it can be decoded again.
#include <functional>
#include <string>
#include <string_view>

#include "platform/bytes.h"

namespace quorvane {

// Whether a document number read from a card may name a file: 1 to 32 ASCII letters and digits
// (resident and permanent-residence numbers are digits, an 'X', or capital letters). Anything
// else ('/', "..", NUL, spaces, non-ASCII) could reach outside the photo folders and is
// refused.
bool isFileSafeNumber(std::string_view number);

// Writes wlt under the number, runs decode(path of the .wlt file) and moves the BMP it leaves
// into place. False, with nothing written, for a number that is not file-safe; false when the
// decoder left no BMP (the raw photo is still kept in ".\img").
bool storeReaderPhoto(const std::string& programDir, const std::string& number, Bytes wlt,
                      const std::function<void(const std::string& wltPath)>& decode);

} // namespace quorvane
