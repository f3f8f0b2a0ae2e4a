// A reader that the tests place in a program directory as libsdtapi.so. It answers on the
// ports its control file names:
//   open=1003,5      ports SDT_OpenPort opens
//   reader=1003      the port the reader is on (other ports do not answer)
//   sam-id=TEXT      the security-module id text there (may be empty)
//   card-after=N     SDT_StartFindIDCard finds the card from its Nth call on (0: never)
//   read-status=N    what SDT_ReadBaseMsg answers
//   text-length=N, photo-length=N   lengths it reports (default: the sizes of card-text.bin
//                    and card-photo.bin, which it copies, at most 256 and 1,024 bytes)
//   baud=N           the rate SDT_GetCOMBaud reports
// Built once more without SDT_ReadFPMsg to play a library that lacks a function.
#include <algorithm>
#include <cstring>
#include <set>
#include <type_traits>

#include "idcard/sdt_api.h"
#include "standin_control.h"

using namespace quorvane;

namespace {

constexpr int kNoAnswer = 0x02;

const standin::LifeLog lifeLog("libsdtapi");
std::set<int> openPorts;
int findCalls = 0;

// Logs the call; whether the reader answers it: on its own port once that is open, or when the
// call opens the port itself.
bool answers(const std::string& call, int port, int ifOpen) {
    standin::log(call + " " + std::to_string(port) + " " + std::to_string(ifOpen));
    return port == standin::number("reader", -1) && (ifOpen != 0 || openPorts.count(port));
}

int status(bool answered) {
    return answered ? kSdtSuccess : kNoAnswer;
}

} // namespace

extern "C" {

int SDT_GetCOMBaud(int port, unsigned int* baud) {
    standin::log("SDT_GetCOMBaud " + std::to_string(port));
    *baud = static_cast<unsigned int>(standin::number("baud", 115200));
    return kSdtSuccess;
}

int SDT_SetCOMBaud(int port, unsigned int currentBaud, unsigned int newBaud) {
    standin::log("SDT_SetCOMBaud " + std::to_string(port) + " " + std::to_string(currentBaud) +
                 " " + std::to_string(newBaud));
    return kSdtSuccess;
}

int SDT_OpenPort(int port) {
    standin::log("SDT_OpenPort " + std::to_string(port));
    const std::string open = "," + standin::value("open").value_or("") + ",";
    if (open.find("," + std::to_string(port) + ",") == std::string::npos)
        return kNoAnswer;
    openPorts.insert(port);
    return kSdtSuccess;
}

int SDT_ClosePort(int port) {
    standin::log("SDT_ClosePort " + std::to_string(port));
    openPorts.erase(port);
    return kSdtSuccess;
}

int SDT_ResetSAM(int port, int ifOpen) {
    return status(answers("SDT_ResetSAM", port, ifOpen));
}

int SDT_GetSAMIDToStr(int port, unsigned char* samIdText, int ifOpen) {
    if (!answers("SDT_GetSAMIDToStr", port, ifOpen))
        return kNoAnswer;
    const std::string text = standin::value("sam-id").value_or("05.01-20261206-0000001");
    std::memcpy(samIdText, text.c_str(), text.size() + 1);
    return kSdtSuccess;
}

int SDT_StartFindIDCard(int port, unsigned char*, int ifOpen) {
    if (!answers("SDT_StartFindIDCard", port, ifOpen))
        return kNoAnswer;
    const long after = standin::number("card-after", 1);
    return ++findCalls >= after && after > 0 ? kSdtCardFound : 0x80;
}

int SDT_SelectIDCard(int port, unsigned char*, int ifOpen) {
    return status(answers("SDT_SelectIDCard", port, ifOpen));
}

int SDT_ReadBaseMsg(int port, unsigned char* text, unsigned int* textLength, unsigned char* photo,
                    unsigned int* photoLength, int ifOpen) {
    if (!answers("SDT_ReadBaseMsg", port, ifOpen))
        return kNoAnswer;
    const std::string t = standin::bytesOf("card-text.bin"), p = standin::bytesOf("card-photo.bin");
    std::memcpy(text, t.data(), std::min<std::size_t>(t.size(), kSdtTextLimit));
    std::memcpy(photo, p.data(), std::min<std::size_t>(p.size(), kSdtPhotoLimit));
    *textLength = static_cast<unsigned int>(standin::number("text-length", long(t.size())));
    *photoLength = static_cast<unsigned int>(standin::number("photo-length", long(p.size())));
    return static_cast<int>(standin::number("read-status", kSdtSuccess));
}

int SDT_ReadNewAppMsg(int port, unsigned char*, unsigned int* length, int ifOpen) {
    answers("SDT_ReadNewAppMsg", port, ifOpen);
    *length = 0;
    return kSdtSuccess;
}

// Loaded by the tool but never called on a read: they only have to be there.
#define STANDIN_UNUSED(name, ...)                                                                  \
    int name(__VA_ARGS__) {                                                                        \
        return kNoAnswer;                                                                          \
    }
STANDIN_UNUSED(SDT_GetSAMStatus, int, int)
STANDIN_UNUSED(SDT_SetMaxRFByte, int, unsigned char, int)
STANDIN_UNUSED(SDT_GetSAMID, int, unsigned char*, int)
STANDIN_UNUSED(SDT_ReadMngInfo, int, unsigned char*, int)
STANDIN_UNUSED(SDT_ReadIINSNDN, int, unsigned char*, int)
STANDIN_UNUSED(SDT_ReadIINSNDNToASCII, int, unsigned char*, int)
#ifndef STANDIN_WITHOUT_FP
STANDIN_UNUSED(SDT_ReadFPMsg, int, unsigned char*, unsigned int*, unsigned char*, unsigned int*,
               unsigned char*, unsigned int*, int)
#endif

} // extern "C"

// The functions a read calls keep to the interface the tool declares.
static_assert(std::is_same_v<decltype(&SDT_GetCOMBaud), SdtGetComBaudFn>);
static_assert(std::is_same_v<decltype(&SDT_SetCOMBaud), SdtSetComBaudFn>);
static_assert(std::is_same_v<decltype(&SDT_OpenPort), SdtOpenPortFn>);
static_assert(std::is_same_v<decltype(&SDT_ClosePort), SdtClosePortFn>);
static_assert(std::is_same_v<decltype(&SDT_ResetSAM), SdtResetSamFn>);
static_assert(std::is_same_v<decltype(&SDT_GetSAMIDToStr), SdtGetSamIdToStrFn>);
static_assert(std::is_same_v<decltype(&SDT_StartFindIDCard), SdtStartFindIdCardFn>);
static_assert(std::is_same_v<decltype(&SDT_SelectIDCard), SdtSelectIdCardFn>);
static_assert(std::is_same_v<decltype(&SDT_ReadBaseMsg), SdtReadBaseMsgFn>);
static_assert(std::is_same_v<decltype(&SDT_ReadNewAppMsg), SdtReadNewAppMsgFn>);
