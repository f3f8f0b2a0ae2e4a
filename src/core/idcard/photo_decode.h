#pragma once
// Identity photos: the 1,024-byte WLT of a document becomes ".\img\N.bmp" with a mirror copy
// in ".\bmp\N.bmp". Decoding is done outside: by the decoder program "Ferrix" in the program
// directory when it is there (a background service found through "ferrix.pid" and started
// when it is not running), otherwise by the reader library "libWltRS.so" loaded from the
// program directory. One decode runs at a time; a second one fails at once.
#include <functional>
#include <mutex>
#include <string>

#include "idcard/sdt_api.h"
#include "idcard/unicode_local.h"
#include "infra/clock.h"
#include "platform/bytes.h"
#include "platform/shared_library.h"

namespace quorvane {

class Settings;

inline constexpr const char* kPhotoDecoderProgram = "Ferrix";
inline constexpr const char* kPhotoDecoderPidFile = "ferrix.pid";
inline constexpr const char* kPhotoDecoderParameter = "5820193746";

struct PhotoSettings {
    int parseImage = 1;       // 0 keeps the WLT only, 2 never loads the library
    bool convertImage = true; // JPEG copies for the log viewer
    int badImageRepeat = 10;  // longest run of equal bytes a WLT may hold
};

PhotoSettings readPhotoSettings(const Settings& settings);

// Writes a BMP as a JPEG (the window does this with its imaging library); true when written.
using JpegWriter = std::function<bool(const std::string& bmpPath, const std::string& jpgPath)>;

class PhotoDecoder {
  public:
    PhotoDecoder(std::string programDir, PhotoSettings settings, Clock& clock, LogSink log = {});

    // After an identity parse (force false) or for the viewer (force true). 0, or -1 for a
    // number that cannot name a file.
    int decodePhoto(const std::string& number, Bytes wlt, bool force);
    // Writes the working WLT file (in the program directory) and runs one decoder; true when
    // the BMP of the same base name is there afterwards.
    bool parse2ndBmp_implement(const std::string& wltName, Bytes wlt);
    // The image the log viewer draws for a number, made on demand from what is at hand
    // (a BMP, a WLT in ".\tmp" or ".\img"); the path is returned even when nothing could be
    // made. Empty for a number that cannot name a file.
    std::string photoPathFor(const std::string& number, const JpegWriter& toJpeg = {});

    std::string lastError() const;

  private:
    bool decodeWithService(const std::string& wltPath);
    bool decodeWithLibrary(const std::string& wltPath);
    void log(const std::string& line) const;
    std::string path(const std::string& name) const { return dir_ + "/" + name; }

    std::string dir_;
    PhotoSettings settings_;
    Clock& clock_;
    LogSink log_;
    // Tried, never waited for: a decode that finds it taken fails.
    std::recursive_mutex decodeLock_;
    std::mutex wltLock_;
    platform::SharedLibrary library_;
    bool libraryTried_ = false;
    WltGetBmpFn getBmp_ = nullptr;
    mutable std::mutex errorLock_;
    std::string lastError_;
};

} // namespace quorvane
