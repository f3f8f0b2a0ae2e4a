#pragma once
// The C interface of the local identity-card reader's two libraries, as this tool calls them:
// libsdtapi.so (the reader) and libWltRS.so (the photo decoder), both in the program directory.
// A Linux build of such libraries, and the stand-ins the tests build, export these functions
// with C linkage and exactly these parameters.
//
// Conventions every function keeps:
// - port: 1..16 a serial port, 1001..1016 a USB port.
// - ifOpen: 0 when the port was opened with SDT_OpenPort; not 0 asks the call to open the port
//   itself, do its work and close it again.
// - The return value is the reader's status: kSdtSuccess, kSdtCardFound (SDT_StartFindIDCard
//   only), anything else a failure.
// - A buffer argument is written with at most the number of bytes named at its typedef; a
//   length argument (unsigned int*) receives the number of bytes written. The tool hands over
//   buffers larger than these limits and reads no more than the limit whatever length comes
//   back.

extern "C" {

// The current baud rate of a serial port into *baud.
using SdtGetComBaudFn = int (*)(int port, unsigned int* baud);
// Changes a serial port's rate from currentBaud to newBaud.
using SdtSetComBaudFn = int (*)(int port, unsigned int currentBaud, unsigned int newBaud);
using SdtOpenPortFn = int (*)(int port);
using SdtClosePortFn = int (*)(int port);
using SdtGetSamStatusFn = int (*)(int port, int ifOpen);
// Resets the reader's security module.
using SdtResetSamFn = int (*)(int port, int ifOpen);
// The largest frame the radio part exchanges with a card.
using SdtSetMaxRfByteFn = int (*)(int port, unsigned char maxBytes, int ifOpen);
// samId: 16 bytes, the security module's id.
using SdtGetSamIdFn = int (*)(int port, unsigned char* samId, int ifOpen);
// samIdText: the id as zero-terminated text, at most 64 bytes with the terminator.
using SdtGetSamIdToStrFn = int (*)(int port, unsigned char* samIdText, int ifOpen);
// manageInfo: 8 bytes. Answers kSdtCardFound when a card is in the field.
using SdtStartFindIdCardFn = int (*)(int port, unsigned char* manageInfo, int ifOpen);
// serialNumber: 8 bytes.
using SdtSelectIdCardFn = int (*)(int port, unsigned char* serialNumber, int ifOpen);
// text: at most 256 bytes, the card's UCS-2 little-endian text block; photo: at most 1,024
// bytes, the compressed photo.
using SdtReadBaseMsgFn = int (*)(int port, unsigned char* text, unsigned int* textLength,
                                 unsigned char* photo, unsigned int* photoLength, int ifOpen);
// info: 28 bytes of the card's management information.
using SdtReadMngInfoFn = int (*)(int port, unsigned char* info, int ifOpen);
// appendix: at most 256 bytes, the address changes written after the card was issued.
using SdtReadNewAppMsgFn = int (*)(int port, unsigned char* appendix, unsigned int* length,
                                   int ifOpen);
// text: 8 bytes (binary) or 64 bytes with the terminator (ASCII).
using SdtReadIinSnDnFn = int (*)(int port, unsigned char* text, int ifOpen);
using SdtReadIinSnDnToAsciiFn = int (*)(int port, unsigned char* text, int ifOpen);
// text, photo: as SDT_ReadBaseMsg; fingerprint: at most 1,024 bytes.
using SdtReadFpMsgFn = int (*)(int port, unsigned char* text, unsigned int* textLength,
                               unsigned char* photo, unsigned int* photoLength,
                               unsigned char* fingerprint, unsigned int* fingerprintLength,
                               int ifOpen);

// libWltRS.so: decodes the compressed photo in the file at wltPath (zero-terminated, UTF-8)
// into a BMP of the same name ending in ".bmp" beside it. kind: 1 for a photo read on a serial
// port, 2 on a USB port. Returns 1 when the BMP was written.
using WltGetBmpFn = int (*)(const char* wltPath, int kind);

} // extern "C"

namespace quorvane {

inline constexpr int kSdtSuccess = 0x90;
inline constexpr int kSdtCardFound = 0x9F;

inline constexpr unsigned kSdtSamIdTextLimit = 64;
inline constexpr unsigned kSdtCardInfoLimit = 8;
inline constexpr unsigned kSdtTextLimit = 256;
inline constexpr unsigned kSdtPhotoLimit = 1024;
inline constexpr unsigned kSdtAppendixLimit = 256;

} // namespace quorvane
