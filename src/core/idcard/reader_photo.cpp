#include "idcard/reader_photo.h"

#include <algorithm>

#include "platform/files.h"

namespace quorvane {
namespace {

constexpr std::size_t kLongestNumber = 32;

bool isAsciiAlnum(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool hasContent(const std::string& path) {
    int error = 0;
    auto stamp = platform::fileStamp(path, error);
    return stamp && stamp->size > 0;
}

} // namespace

bool isFileSafeNumber(std::string_view number) {
    return !number.empty() && number.size() <= kLongestNumber &&
           std::all_of(number.begin(), number.end(), isAsciiAlnum);
}

bool storeReaderPhoto(const std::string& programDir, const std::string& number, Bytes wlt,
                      const std::function<void(const std::string& wltPath)>& decode) {
    if (!isFileSafeNumber(number))
        return false;
    const std::string base = programDir + "/" + number;
    const std::string imgDir = programDir + "/img";
    const std::string bmpDir = programDir + "/bmp";
    const std::string wltPath = base + ".wlt";
    const std::string bmpPath = base + ".bmp";
    // A BMP left by an earlier read must not pass for this card's photo.
    platform::removeFile(bmpPath);
    std::string_view bytes(reinterpret_cast<const char*>(wlt.data()), wlt.size());
    if (!platform::replaceFile(wltPath, bytes))
        return false;
    decode(wltPath);

    platform::makeDirectories(imgDir);
    platform::makeDirectories(bmpDir);
    bool decoded = hasContent(bmpPath);
    if (decoded) {
        const std::string finalBmp = imgDir + "/" + number + ".bmp";
        auto image = platform::readWholeFile(bmpPath);
        decoded = image && platform::replaceFile(bmpDir + "/" + number + ".bmp", *image) &&
                  platform::moveFile(bmpPath, finalBmp);
    }
    platform::removeFile(bmpPath);
    platform::moveFile(wltPath, imgDir + "/" + number + ".wlt");
    return decoded;
}

} // namespace quorvane
