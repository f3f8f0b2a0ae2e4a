#include "idcard/photo_decode.h"

#include <chrono>
#include <cstdlib>

#include "idcard/card_reader_sdt.h"
#include "idcard/reader_photo.h"
#include "idcard/wlt_check.h"
#include "infra/settings.h"
#include "platform/files.h"
#include "platform/process.h"

namespace quorvane {

namespace {
using namespace std::chrono_literals;
// The decoder program gets about a second: 20 looks, 50 ms apart.
constexpr int kServiceLooks = 20;
constexpr auto kServiceLookStep = 50ms;

bool hasContent(const std::string& path) {
    int error = 0;
    auto stamp = platform::fileStamp(path, error);
    return stamp && stamp->size > 0;
}

bool copyFile(const std::string& from, const std::string& to) {
    auto bytes = platform::readWholeFile(from);
    return bytes && platform::replaceFile(to, *bytes);
}

std::string_view asText(Bytes b) {
    return {reinterpret_cast<const char*>(b.data()), b.size()};
}
} // namespace

PhotoSettings readPhotoSettings(const Settings& settings) {
    PhotoSettings s;
    s.parseImage = settings.readInt("data", "parse-image", 1);
    s.convertImage = settings.readInt("data", "convert-image", 1) != 0;
    s.badImageRepeat = settings.readInt("z1", "bad-image-repeat-cnt", 10, kStaticIni);
    return s;
}

PhotoDecoder::PhotoDecoder(std::string programDir, PhotoSettings settings, Clock& clock,
                           LogSink log)
    : dir_(std::move(programDir)), settings_(settings), clock_(clock), log_(std::move(log)) {}

void PhotoDecoder::log(const std::string& line) const {
    if (log_)
        log_(line);
}

std::string PhotoDecoder::lastError() const {
    std::lock_guard l(errorLock_);
    return lastError_;
}

int PhotoDecoder::decodePhoto(const std::string& number, Bytes wlt, bool force) {
    if (!isFileSafeNumber(number))
        return -1;
    const std::string img = path("img/" + number);
    const std::string bmp = path("bmp/" + number);
    if (!force && settings_.parseImage == 0) {
        std::lock_guard l(wltLock_);
        if (!platform::fileExists(img + ".wlt")) {
            platform::makeDirectories(path("img"));
            platform::replaceFile(img + ".wlt", asText(wlt));
        }
        return 0;
    }
    const std::string workWlt = number + "__.wlt";
    const bool inImg = platform::fileExists(img + ".bmp");
    const bool inBmp = platform::fileExists(bmp + ".bmp");
    if (inImg || inBmp) {
        // The two folders hold the same photos: the missing copy comes from the other.
        if (!inImg) {
            platform::makeDirectories(path("img"));
            copyFile(bmp + ".bmp", img + ".bmp");
        } else if (!inBmp) {
            platform::makeDirectories(path("bmp"));
            copyFile(img + ".bmp", bmp + ".bmp");
        }
        log("image exists, IGNORE parseImage, id=" + number + ", param=" + workWlt +
            ", path=" + dir_ + "\n");
        return 0;
    }
    // A photo the check refuses is not decoded, but its raw data is kept where the local
    // reader keeps it: nothing the controller sent is lost.
    if (!wltAcceptable(wlt, settings_.badImageRepeat)) {
        std::lock_guard l(wltLock_);
        platform::makeDirectories(path("img"));
        platform::replaceFile(img + ".wlt", asText(wlt));
        return 0;
    }
    log("will parse wlt file=" + workWlt + "\n");
    const std::string workBmp = path(number + "__.bmp");
    if (parse2ndBmp_implement(workWlt, wlt)) {
        platform::makeDirectories(path("img"));
        platform::makeDirectories(path("bmp"));
        copyFile(workBmp, img + ".bmp");
        copyFile(workBmp, bmp + ".bmp");
    }
    platform::removeFile(path(workWlt));
    platform::removeFile(workBmp);
    return 0;
}

bool PhotoDecoder::parse2ndBmp_implement(const std::string& wltName, Bytes wlt) {
    if (!wltAcceptable(wlt, settings_.badImageRepeat))
        return false;
    std::unique_lock busy(decodeLock_, std::try_to_lock);
    if (!busy.owns_lock())
        return false;
    const std::string wltPath = path(wltName);
    bool ok = platform::replaceFile(wltPath, asText(wlt));
    if (ok)
        ok = platform::fileExists(path(kPhotoDecoderProgram)) ? decodeWithService(wltPath)
                                                              : decodeWithLibrary(wltPath);
    std::lock_guard l(errorLock_);
    lastError_ +=
        "parse2ndBmp_implement return, wlt=" + wltName + ", success=" + std::to_string(ok ? 1 : 0);
    return ok;
}

bool PhotoDecoder::decodeWithService(const std::string& wltPath) {
    auto pidText = platform::readWholeFile(path(kPhotoDecoderPidFile));
    const int pid = pidText ? std::atoi(pidText->c_str()) : 0;
    if (!platform::processAlive(pid)) {
        log("start wlt service\n");
        platform::runProgram({}, path(kPhotoDecoderProgram), kPhotoDecoderParameter, false, false);
    }
    log("do parse(service)\n");
    const std::string bmpPath = wltPath.substr(0, wltPath.size() - 4) + ".bmp";
    bool ok = false;
    // The program leaves the BMP without telling anyone: the file is looked for.
    for (int look = 0; look < kServiceLooks && !ok; ++look) {
        ok = hasContent(bmpPath);
        if (!ok)
            clock_.sleepFor(kServiceLookStep);
    }
    log("do parse(service) return " + std::to_string(ok ? 1 : 0) + "\n");
    return ok;
}

bool PhotoDecoder::decodeWithLibrary(const std::string& wltPath) {
    if (!libraryTried_ && settings_.parseImage != 2) {
        libraryTried_ = true;
        void* symbol = library_.open(path(kWltLibrary)) ? library_.symbol("GetBmp") : nullptr;
        getBmp_ = reinterpret_cast<WltGetBmpFn>(symbol);
        if (!getBmp_) {
            std::lock_guard l(errorLock_);
            lastError_ = "加载WltRS.dll文件失败！";
        }
    }
    if (!getBmp_)
        return false;
    log("do parse(local)\n");
    const int rc = getBmp_(wltPath.c_str(), 1);
    log("do parse(local) return " + std::to_string(rc) + "\n");
    return hasContent(wltPath.substr(0, wltPath.size() - 4) + ".bmp");
}

std::string PhotoDecoder::photoPathFor(const std::string& number, const JpegWriter& toJpeg) {
    if (!isFileSafeNumber(number))
        return {};
    const bool jpeg = settings_.convertImage && toJpeg;
    const std::string bmp = path("img/" + number + ".bmp");
    const std::string result = jpeg ? path("img/" + number + ".jpg") : bmp;
    if (hasContent(result))
        return result;
    if (jpeg && platform::fileExists(bmp)) {
        toJpeg(bmp, result);
        return result;
    }
    platform::makeDirectories(path("img"));
    for (const char* ext : {".bmp", ".wlt"})
        if (platform::fileExists(path(number + ext)))
            platform::moveFile(path(number + ext), path("img/" + number + ext));
    for (const std::string& wlt :
         {path("tmp/" + number + ".wlt"), path("img/" + number + ".wlt")}) {
        if (!hasContent(wlt))
            continue;
        if (auto bytes = platform::readWholeFile(wlt)) {
            decodePhoto(number, asBytes(*bytes), true);
            if (jpeg && platform::fileExists(bmp))
                toJpeg(bmp, result);
        }
        break;
    }
    return result;
}

} // namespace quorvane
