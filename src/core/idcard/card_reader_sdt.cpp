#include "idcard/card_reader_sdt.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <mutex>
#include <vector>

#include "idcard/reader_photo.h"
#include "idcard/wlt_check.h"

namespace quorvane {
namespace {

constexpr int kFirstUsbPort = 1001;
constexpr int kLastUsbPort = 1016;
constexpr int kLastSerialPort = 16;
constexpr auto kPauseAfterFailedStart = std::chrono::seconds(5);
// Every buffer handed to the reader's library is this large, well above the most any call is
// allowed to write, so that a library that writes more than it should spoils nothing of ours.
constexpr std::size_t kLibraryBuffer = 4096;

// One reader, one library state: reads from several threads take turns.
std::mutex readerMutex;

template <class F>
bool take(platform::SharedLibrary& library, const char* name, F& slot, std::string& error) {
    void* address = library.symbol(name);
    if (address == nullptr) {
        error = library.error();
        return false;
    }
    slot = reinterpret_cast<F>(address);
    return true;
}

bool isSerial(int port) {
    return port < kFirstUsbPort;
}

} // namespace

CCardReader_SDT::CCardReader_SDT(const Settings& settings, std::string programDir, Clock& clock)
    : settings_(settings), programDir_(std::move(programDir)), clock_(clock) {}

CCardReader_SDT::~CCardReader_SDT() {
    Release();
}

bool CCardReader_SDT::loadLibraries() {
    if (!sdtapi_.open(programDir_ + "/" + kSdtLibrary)) {
        error_ = sdtapi_.error();
        return false;
    }
    if (!wltrs_.open(programDir_ + "/" + kWltLibrary)) {
        error_ = wltrs_.error();
        return false;
    }
    Functions& f = fn_;
    platform::SharedLibrary& s = sdtapi_;
    return take(s, "SDT_GetCOMBaud", f.getComBaud, error_) &&
           take(s, "SDT_SetCOMBaud", f.setComBaud, error_) &&
           take(s, "SDT_OpenPort", f.openPort, error_) &&
           take(s, "SDT_ClosePort", f.closePort, error_) &&
           take(s, "SDT_GetSAMStatus", f.getSamStatus, error_) &&
           take(s, "SDT_ResetSAM", f.resetSam, error_) &&
           take(s, "SDT_SetMaxRFByte", f.setMaxRfByte, error_) &&
           take(s, "SDT_GetSAMID", f.getSamId, error_) &&
           take(s, "SDT_GetSAMIDToStr", f.getSamIdToStr, error_) &&
           take(s, "SDT_StartFindIDCard", f.startFindIdCard, error_) &&
           take(s, "SDT_SelectIDCard", f.selectIdCard, error_) &&
           take(s, "SDT_ReadBaseMsg", f.readBaseMsg, error_) &&
           take(s, "SDT_ReadMngInfo", f.readMngInfo, error_) &&
           take(s, "SDT_ReadNewAppMsg", f.readNewAppMsg, error_) &&
           take(s, "SDT_ReadIINSNDN", f.readIinSnDn, error_) &&
           take(s, "SDT_ReadIINSNDNToASCII", f.readIinSnDnToAscii, error_) &&
           take(s, "SDT_ReadFPMsg", f.readFpMsg, error_) &&
           take(wltrs_, "GetBmp", f.getBmp, error_);
}

bool CCardReader_SDT::Initialise() {
    const int fix = settings_.readInt("port", "fix", 0);
    if (fix == 0) {
        error_ = "the local identity-card reader is switched off";
        return false;
    }
    if (!loadLibraries())
        return failStart();
    const int start = settings_.readInt("port", "start", -1);
    const int comBaud = settings_.readInt("port", "combaud", 0);
    openInIf_ = settings_.readInt("common", "openinif", 0);
    const bool checkDevId = settings_.readInt("common", "check-dev-id", 1) != 0;
    if (!findPort(fix, start, checkDevId)) {
        error_ = "no identity-card reader answers";
        return failStart();
    }
    if (comBaud != 0) {
        unsigned int current = 0;
        fn_.getComBaud(port_, &current);
        status_ = fn_.setComBaud(port_, current, static_cast<unsigned int>(comBaud));
    }
    return true;
}

bool CCardReader_SDT::failStart() {
    clock_.sleepFor(kPauseAfterFailedStart);
    Release();
    return false;
}

bool CCardReader_SDT::findPort(int fix, int start, bool checkDevId) {
    if (fix != -1)
        return tryPort(fix, checkDevId);
    for (int p = kFirstUsbPort; p <= kLastUsbPort; ++p)
        if (tryPort(p, checkDevId))
            return true;
    // A start outside the serial ports (the default -1 among them) searches them all.
    const int first = (start < 1 || start > kLastSerialPort) ? 1 : start;
    for (int p = first; p <= kLastSerialPort; ++p)
        if (tryPort(p, checkDevId))
            return true;
    return false;
}

bool CCardReader_SDT::tryPort(int port, bool checkDevId) {
    const bool opened = openInIf_ == 0;
    if (opened && !openPort(port))
        return false;
    if (checkDevId && !samIdReadable(port)) {
        // A port that opened but holds no reader is not left open while the search goes on.
        if (opened)
            fn_.closePort(port);
        return false;
    }
    port_ = port;
    portOpened_ = opened;
    return true;
}

bool CCardReader_SDT::openPort(int port) {
    status_ = fn_.openPort(port);
    if (status_ == kSdtSuccess)
        return true;
    // A serial reader whose security module hangs answers again after two resets.
    if (isSerial(port)) {
        fn_.resetSam(port, 0);
        fn_.resetSam(port, 1);
    }
    fn_.closePort(port);
    return false;
}

bool CCardReader_SDT::samIdReadable(int port) {
    std::array<unsigned char, kLibraryBuffer> text{};
    status_ = fn_.getSamIdToStr(port, text.data(), openInIf_);
    return status_ == kSdtSuccess && text[0] != 0;
}

bool CCardReader_SDT::findCard() {
    std::array<unsigned char, kLibraryBuffer> scratch{};
    for (int attempt = 0; attempt < findAttempts_; ++attempt) {
        status_ = fn_.startFindIdCard(port_, scratch.data(), openInIf_);
        if (status_ != kSdtCardFound)
            continue;
        status_ = fn_.selectIdCard(port_, scratch.data(), openInIf_);
        if (status_ == kSdtSuccess)
            return true;
    }
    return false;
}

bool CCardReader_SDT::Read(IdentityInfo& out, std::string* portText) {
    if (fn_.readBaseMsg == nullptr) {
        error_ = "the reader was not initialised";
        return false;
    }
    if (port_ < 1 || port_ > kLastUsbPort) {
        error_ = "no reader port to read from";
        return false;
    }
    if (!findCard()) {
        error_ = "no card on the reader";
        return false;
    }
    std::vector<std::uint8_t> text(kLibraryBuffer), photo(kLibraryBuffer);
    unsigned int textLength = 0, photoLength = 0;
    status_ =
        fn_.readBaseMsg(port_, text.data(), &textLength, photo.data(), &photoLength, openInIf_);
    if (status_ != kSdtSuccess) {
        error_ = "the card could not be read";
        return false;
    }
    std::vector<std::uint8_t> appendix(kLibraryBuffer);
    unsigned int appendixLength = 0;
    fn_.readNewAppMsg(port_, appendix.data(), &appendixLength, openInIf_);

    // Only what the library says it wrote counts, and never more than the block can hold; the
    // rest of the text block reads as zeros.
    const std::size_t textUsed = std::min<std::size_t>(textLength, kSdtTextLimit);
    std::vector<std::uint8_t> block(kIdentityTextBlockSize, 0);
    std::copy_n(text.begin(), textUsed, block.begin());
    auto info = parse2ndMsg(block, 0, settings_.readInt("global", "2nd-parse-ver", 1));
    if (!info) {
        error_ = "the card's text could not be decoded";
        return false;
    }
    out = *info;

    const Bytes wlt(photo.data(), std::min<std::size_t>(photoLength, kSdtPhotoLimit));
    const int maxRepeat = settings_.readInt("z1", "bad-image-repeat-cnt", 10, kStaticIni);
    if (!wlt.empty() && wltAcceptable(wlt, maxRepeat)) {
        const int kind = port_ > 1000 ? 2 : 1;
        storeReaderPhoto(programDir_, out.number, wlt,
                         [&](const std::string& path) { fn_.getBmp(path.c_str(), kind); });
    }

    const int reset = settings_.readInt("common", "reset", -1);
    if (reset != 0 && reset != -1)
        fn_.resetSam(port_, openInIf_);
    if (portText != nullptr) {
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, "端口%d", port_);
        *portText = buffer;
    }
    return true;
}

void CCardReader_SDT::Release() {
    if (portOpened_ && fn_.closePort != nullptr)
        fn_.closePort(port_);
    portOpened_ = false;
    fn_ = {};
    wltrs_.close();
    sdtapi_.close();
}

bool readLocalIdentityCard(const Settings& settings, const std::string& programDir, Clock& clock,
                           IdentityInfo& out, std::string* portText) {
    if (settings.readInt("port", "fix", 0) == 0)
        return false;
    std::lock_guard lock(readerMutex);
    CCardReader_SDT reader(settings, programDir, clock);
    if (!reader.Initialise())
        return false;
    const bool read = reader.Read(out, portText);
    reader.Release();
    return read;
}

} // namespace quorvane
