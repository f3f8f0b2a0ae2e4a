#pragma once
// The right-storage image written as memory pages: the bitmap and overflow sectors in EEPROM
// pages 58..511 and the 500 hash pages of 4,096 bytes in FLASH pages 0..3,999, each page only
// when the filter keeps it (the image's own: pages that hold rights, and every page touching
// the bitmap).
#include "model/device_info.h"
#include "rights/local_right_sources.h"
#include "rights/right_fields.h"
#include "transfer/memory_transfer.h"

namespace quorvane {

class ToolSession;

inline constexpr long kRightEepromFirstPage = 58;
inline constexpr long kRightFlashPages = 4000;

// thread_upright, writing: the EEPROM right area, then the FLASH hash pages.
TransferResult uploadRightImage(ToolSession& session, const DeviceUIInfo& device,
                                MemoryImages& images, const PageFilter& filter);

// Index 10 of the rights dialog ("全量上传权限数据文件"): the EEPROM image cleared with every
// storage flag set (rights go to the hashed pages first), the FLASH image cleared, the card
// numbers of source loaded into the image as rights of the dialog's fields (with the count
// question), then the image written. The right format follows the device record.
// 0 done; -2 the person said No; -1 otherwise. result (when given) receives the write's
// result once the image was written.
int uploadRightFileAsImage(ToolSession& session, const DeviceUIInfo& device, MemoryImages& images,
                           LocalRightSource source, const RightFields& fields,
                           TransferResult* result = nullptr);

} // namespace quorvane
