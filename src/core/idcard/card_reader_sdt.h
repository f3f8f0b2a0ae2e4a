#pragma once
// The identity-card reader attached to this PC, reached through the reader's own libraries
// (libsdtapi.so and libWltRS.so in the program directory, interface in idcard/sdt_api.h). One
// object loads the libraries, finds the port the reader is on, reads cards and unloads them
// again; readLocalIdentityCard does all of that for one card.
#include <string>

#include "idcard/identity_info.h"
#include "idcard/sdt_api.h"
#include "infra/clock.h"
#include "infra/settings.h"
#include "platform/shared_library.h"

namespace quorvane {

inline constexpr const char* kSdtLibrary = "libsdtapi.so";
inline constexpr const char* kWltLibrary = "libWltRS.so";

class CCardReader_SDT {
  public:
    // Settings are read by Initialise and Read; the pause after a failed start is taken from
    // clock.
    CCardReader_SDT(const Settings& settings, std::string programDir, Clock& clock);
    ~CCardReader_SDT();
    CCardReader_SDT(const CCardReader_SDT&) = delete;
    CCardReader_SDT& operator=(const CCardReader_SDT&) = delete;

    // Loads both libraries and finds the reader's port. On failure waits five seconds (so that
    // a caller that retries does not spin on a missing reader), releases the libraries and
    // returns false.
    bool Initialise();
    // Finds, selects and reads one card into out and stores its photo; portText, when given,
    // receives "端口%d" with the port.
    bool Read(IdentityInfo& out, std::string* portText = nullptr);
    // Closes a port this object opened and unloads both libraries.
    void Release();

    int port() const { return port_; }
    // The status the reader's library gave last.
    int lastStatus() const { return status_; }
    // What went wrong last, for the tool log.
    const std::string& lastError() const { return error_; }

  private:
    struct Functions {
        SdtGetComBaudFn getComBaud = nullptr;
        SdtSetComBaudFn setComBaud = nullptr;
        SdtOpenPortFn openPort = nullptr;
        SdtClosePortFn closePort = nullptr;
        SdtGetSamStatusFn getSamStatus = nullptr;
        SdtResetSamFn resetSam = nullptr;
        SdtSetMaxRfByteFn setMaxRfByte = nullptr;
        SdtGetSamIdFn getSamId = nullptr;
        SdtGetSamIdToStrFn getSamIdToStr = nullptr;
        SdtStartFindIdCardFn startFindIdCard = nullptr;
        SdtSelectIdCardFn selectIdCard = nullptr;
        SdtReadBaseMsgFn readBaseMsg = nullptr;
        SdtReadMngInfoFn readMngInfo = nullptr;
        SdtReadNewAppMsgFn readNewAppMsg = nullptr;
        SdtReadIinSnDnFn readIinSnDn = nullptr;
        SdtReadIinSnDnToAsciiFn readIinSnDnToAscii = nullptr;
        SdtReadFpMsgFn readFpMsg = nullptr;
        WltGetBmpFn getBmp = nullptr;
    };

    bool loadLibraries();
    bool findPort(int fix, int start, bool checkDevId);
    bool tryPort(int port, bool checkDevId);
    bool openPort(int port);
    bool samIdReadable(int port);
    bool findCard();
    bool failStart();

    const Settings& settings_;
    std::string programDir_;
    Clock& clock_;
    platform::SharedLibrary sdtapi_;
    platform::SharedLibrary wltrs_;
    Functions fn_;
    int port_ = 0;
    int status_ = kSdtSuccess;
    int findAttempts_ = 5;
    int openInIf_ = 0;
    bool portOpened_ = false; // this object opened port_ and closes it on Release
    std::string error_;
};

// Reads one card on the local reader as the settings describe (section port, key fix: 0 means
// there is none and nothing is loaded). Calls from several threads take turns; each loads the
// libraries, reads and unloads them. May block for about five seconds when no reader answers.
bool readLocalIdentityCard(const Settings& settings, const std::string& programDir, Clock& clock,
                           IdentityInfo& out, std::string* portText = nullptr);

} // namespace quorvane
