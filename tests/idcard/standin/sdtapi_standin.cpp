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
#include <sstream>
#include <type_traits>

#include "idcard/sdt_api.h"
#include "standin_control.h"

namespace {

constexpr int kNoAnswer = 0x02;
constexpr int kNoCard = 0x80;

const standin::LifeLog lifeLog("libsdtapi");
std::set<int> openPorts;
int findCalls = 0;

std::string args(std::initializer_list<long> values) {
    std::ostringstream out;
    for (long v : values)
        out << ' ' << v;
    return out.str();
}

bool inList(const std::string& list, int port) {
    std::istringstream in(list);
    std::string item;
    while (std::getline(in, item, ','))
        if (!item.empty() && std::stoi(item) == port)
            return true;
    return false;
}

// The reader answers on its own port once that is open, or when the call opens it itself.
bool answers(int port, int ifOpen) {
    auto c = standin::control();
    return port == standin::number(c, "reader", -1) && (ifOpen != 0 || openPorts.count(port));
}

} // namespace

extern "C" {

int SDT_GetCOMBaud(int port, unsigned int* baud) {
    standin::log("SDT_GetCOMBaud" + args({port}));
    *baud = static_cast<unsigned int>(standin::number(standin::control(), "baud", 115200));
    return quorvane::kSdtSuccess;
}

int SDT_SetCOMBaud(int port, unsigned int currentBaud, unsigned int newBaud) {
    standin::log("SDT_SetCOMBaud" + args({port, long(currentBaud), long(newBaud)}));
    return quorvane::kSdtSuccess;
}

int SDT_OpenPort(int port) {
    standin::log("SDT_OpenPort" + args({port}));
    if (!inList(standin::control()["open"], port))
        return kNoAnswer;
    openPorts.insert(port);
    return quorvane::kSdtSuccess;
}

int SDT_ClosePort(int port) {
    standin::log("SDT_ClosePort" + args({port}));
    openPorts.erase(port);
    return quorvane::kSdtSuccess;
}

int SDT_GetSAMStatus(int port, int ifOpen) {
    standin::log("SDT_GetSAMStatus" + args({port, ifOpen}));
    return answers(port, ifOpen) ? quorvane::kSdtSuccess : kNoAnswer;
}

int SDT_ResetSAM(int port, int ifOpen) {
    standin::log("SDT_ResetSAM" + args({port, ifOpen}));
    return answers(port, ifOpen) ? quorvane::kSdtSuccess : kNoAnswer;
}

int SDT_SetMaxRFByte(int port, unsigned char maxBytes, int ifOpen) {
    standin::log("SDT_SetMaxRFByte" + args({port, maxBytes, ifOpen}));
    return quorvane::kSdtSuccess;
}

int SDT_GetSAMID(int port, unsigned char* samId, int ifOpen) {
    standin::log("SDT_GetSAMID" + args({port, ifOpen}));
    std::memset(samId, 0x11, 16);
    return answers(port, ifOpen) ? quorvane::kSdtSuccess : kNoAnswer;
}

int SDT_GetSAMIDToStr(int port, unsigned char* samIdText, int ifOpen) {
    standin::log("SDT_GetSAMIDToStr" + args({port, ifOpen}));
    if (!answers(port, ifOpen))
        return kNoAnswer;
    auto c = standin::control();
    std::string text = c.count("sam-id") ? c["sam-id"] : "05.01-20261206-0000001";
    text.resize(std::min<std::size_t>(text.size(), quorvane::kSdtSamIdTextLimit - 1));
    std::memcpy(samIdText, text.c_str(), text.size() + 1);
    return quorvane::kSdtSuccess;
}

int SDT_StartFindIDCard(int port, unsigned char* manageInfo, int ifOpen) {
    standin::log("SDT_StartFindIDCard" + args({port, ifOpen}));
    if (!answers(port, ifOpen))
        return kNoAnswer;
    std::memset(manageInfo, 0, quorvane::kSdtCardInfoLimit);
    long after = standin::number(standin::control(), "card-after", 1);
    ++findCalls;
    return after > 0 && findCalls >= after ? quorvane::kSdtCardFound : kNoCard;
}

int SDT_SelectIDCard(int port, unsigned char* serialNumber, int ifOpen) {
    standin::log("SDT_SelectIDCard" + args({port, ifOpen}));
    std::memset(serialNumber, 0x22, quorvane::kSdtCardInfoLimit);
    return answers(port, ifOpen) ? quorvane::kSdtSuccess : kNoAnswer;
}

int SDT_ReadBaseMsg(int port, unsigned char* text, unsigned int* textLength, unsigned char* photo,
                    unsigned int* photoLength, int ifOpen) {
    standin::log("SDT_ReadBaseMsg" + args({port, ifOpen}));
    if (!answers(port, ifOpen))
        return kNoAnswer;
    auto c = standin::control();
    std::string t = standin::bytesOf("card-text.bin").substr(0, quorvane::kSdtTextLimit);
    std::string p = standin::bytesOf("card-photo.bin").substr(0, quorvane::kSdtPhotoLimit);
    std::memcpy(text, t.data(), t.size());
    std::memcpy(photo, p.data(), p.size());
    *textLength = static_cast<unsigned int>(standin::number(c, "text-length", long(t.size())));
    *photoLength = static_cast<unsigned int>(standin::number(c, "photo-length", long(p.size())));
    return static_cast<int>(standin::number(c, "read-status", quorvane::kSdtSuccess));
}

int SDT_ReadMngInfo(int port, unsigned char* info, int ifOpen) {
    standin::log("SDT_ReadMngInfo" + args({port, ifOpen}));
    std::memset(info, 0, 28);
    return quorvane::kSdtSuccess;
}

int SDT_ReadNewAppMsg(int port, unsigned char* appendix, unsigned int* length, int ifOpen) {
    standin::log("SDT_ReadNewAppMsg" + args({port, ifOpen}));
    appendix[0] = 0;
    *length = 0;
    return quorvane::kSdtSuccess;
}

int SDT_ReadIINSNDN(int port, unsigned char* text, int ifOpen) {
    standin::log("SDT_ReadIINSNDN" + args({port, ifOpen}));
    std::memset(text, 0, 8);
    return quorvane::kSdtSuccess;
}

int SDT_ReadIINSNDNToASCII(int port, unsigned char* text, int ifOpen) {
    standin::log("SDT_ReadIINSNDNToASCII" + args({port, ifOpen}));
    text[0] = 0;
    return quorvane::kSdtSuccess;
}

#ifndef STANDIN_WITHOUT_FP
int SDT_ReadFPMsg(int port, unsigned char*, unsigned int* textLength, unsigned char*,
                  unsigned int* photoLength, unsigned char*, unsigned int* fingerprintLength,
                  int ifOpen) {
    standin::log("SDT_ReadFPMsg" + args({port, ifOpen}));
    *textLength = *photoLength = *fingerprintLength = 0;
    return quorvane::kSdtSuccess;
}
static_assert(std::is_same_v<decltype(&SDT_ReadFPMsg), SdtReadFpMsgFn>);
#endif

} // extern "C"

// The stand-in keeps to the interface the tool declares.
static_assert(std::is_same_v<decltype(&SDT_GetCOMBaud), SdtGetComBaudFn>);
static_assert(std::is_same_v<decltype(&SDT_SetCOMBaud), SdtSetComBaudFn>);
static_assert(std::is_same_v<decltype(&SDT_OpenPort), SdtOpenPortFn>);
static_assert(std::is_same_v<decltype(&SDT_ClosePort), SdtClosePortFn>);
static_assert(std::is_same_v<decltype(&SDT_GetSAMStatus), SdtGetSamStatusFn>);
static_assert(std::is_same_v<decltype(&SDT_ResetSAM), SdtResetSamFn>);
static_assert(std::is_same_v<decltype(&SDT_SetMaxRFByte), SdtSetMaxRfByteFn>);
static_assert(std::is_same_v<decltype(&SDT_GetSAMID), SdtGetSamIdFn>);
static_assert(std::is_same_v<decltype(&SDT_GetSAMIDToStr), SdtGetSamIdToStrFn>);
static_assert(std::is_same_v<decltype(&SDT_StartFindIDCard), SdtStartFindIdCardFn>);
static_assert(std::is_same_v<decltype(&SDT_SelectIDCard), SdtSelectIdCardFn>);
static_assert(std::is_same_v<decltype(&SDT_ReadBaseMsg), SdtReadBaseMsgFn>);
static_assert(std::is_same_v<decltype(&SDT_ReadMngInfo), SdtReadMngInfoFn>);
static_assert(std::is_same_v<decltype(&SDT_ReadNewAppMsg), SdtReadNewAppMsgFn>);
static_assert(std::is_same_v<decltype(&SDT_ReadIINSNDN), SdtReadIinSnDnFn>);
static_assert(std::is_same_v<decltype(&SDT_ReadIINSNDNToASCII), SdtReadIinSnDnToAsciiFn>);
