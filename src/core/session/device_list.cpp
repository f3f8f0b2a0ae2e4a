#include "session/device_list.h"

#include <algorithm>
#include <cstdio>

#include <ace/Guard_T.h>

#include "model/config_table.h"
#include "protocol/code_tables.h"

namespace quorvane {

DeviceList::DeviceList(DeviceListOptions options) : options_(options) {}

void DeviceList::setListServiceDevices(bool on) {
    ACE_Guard<ACE_Thread_Mutex> g(mutex_);
    options_.listServiceDevices = on;
}

DeviceListOptions DeviceList::options() const {
    ACE_Guard<ACE_Thread_Mutex> g(mutex_);
    return options_;
}

std::string DeviceList::mergeKey(const DeviceUIInfo& r) {
    return r.ip + "#" + std::to_string(r.getRawDeviceId());
}

void DeviceList::insertLocked(const DeviceUIInfo& record) {
    ++keyCount_[mergeKey(record)];
    if (options_.sortKey == 0) {
        rows_.push_back(std::make_unique<DeviceUIInfo>(record));
        return;
    }
    // After the rows it does not sort before: the same place a stable sort of the appended row
    // would give.
    auto pos = std::upper_bound(
        rows_.begin(), rows_.end(), record,
        [key = options_.sortKey](const DeviceUIInfo& a, const std::unique_ptr<DeviceUIInfo>& b) {
            return deviceLess(a, *b, key);
        });
    rows_.insert(pos, std::make_unique<DeviceUIInfo>(record));
}

bool DeviceList::addSearchReply(const DeviceUIInfo& record) {
    ACE_Guard<ACE_Thread_Mutex> g(mutex_);
    if (!options_.listServiceDevices &&
        (record.searchModes & (kFoundByBroadcast | kFoundByMulticast)) == 0)
        return false;
    if (options_.unique) {
        auto key = mergeKey(record);
        auto seen = keyCount_.find(key);
        if (seen != keyCount_.end() && seen->second > 0) {
            auto raw = record.getRawDeviceId();
            auto it = std::find_if(
                rows_.begin(), rows_.end(), [&](const std::unique_ptr<DeviceUIInfo>& row) {
                    return row->ip == record.ip && row->getRawDeviceId() == raw &&
                           row->searchModes >= record.searchModes;
                });
            if (it != rows_.end()) {
                // Overwritten in place, then moved to where its (possibly new) sort key puts it.
                rows_.erase(it);
                --keyCount_[key];
            }
        }
    }
    insertLocked(record);
    return true;
}

void DeviceList::append(const DeviceUIInfo& record) {
    ACE_Guard<ACE_Thread_Mutex> g(mutex_);
    insertLocked(record);
}

bool DeviceList::replace(const DeviceUIInfo& before, const DeviceUIInfo& after) {
    ACE_Guard<ACE_Thread_Mutex> g(mutex_);
    auto it =
        std::find_if(rows_.begin(), rows_.end(),
                     [&](const std::unique_ptr<DeviceUIInfo>& row) { return *row == before; });
    if (it == rows_.end())
        return false;
    --keyCount_[mergeKey(before)];
    ++keyCount_[mergeKey(after)];
    **it = after;
    return true;
}

bool DeviceList::tryClear() {
    if (mutex_.tryacquire() != 0)
        return false;
    rows_.clear();
    keyCount_.clear();
    mutex_.release();
    return true;
}

std::optional<std::vector<DeviceUIInfo>> DeviceList::trySnapshot() const {
    if (mutex_.tryacquire() != 0)
        return std::nullopt;
    std::vector<DeviceUIInfo> copy = copyLocked();
    mutex_.release();
    return copy;
}

std::vector<DeviceUIInfo> DeviceList::snapshot() const {
    ACE_Guard<ACE_Thread_Mutex> g(mutex_);
    return copyLocked();
}

std::vector<DeviceUIInfo> DeviceList::copyLocked() const {
    std::vector<DeviceUIInfo> copy;
    copy.reserve(rows_.size());
    for (const auto& r : rows_)
        copy.push_back(*r);
    return copy;
}

std::size_t DeviceList::size() const {
    ACE_Guard<ACE_Thread_Mutex> g(mutex_);
    return rows_.size();
}

std::string DeviceList::pipeUpdateText() const {
    ACE_Guard<ACE_Thread_Mutex> g(mutex_);
    std::string text;
    for (const auto& r : rows_)
        if (r->searchModes & kFoundByPipe)
            text += r->sourceAddress + "=" + r->getGlobalId() + "\n";
    return text;
}

std::string deviceFlagText(const DeviceUIInfo& r) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%05d", r.groupNo * 256 + r.deviceNo);
    return buf;
}

std::string deviceStateText(const DeviceUIInfo& r) {
    auto status = static_cast<int>(readNumber(configField("systemStatus"), r.doorConfig));
    return std::to_string(status) + "-" + deviceStatusText(status) + "/" + r.getSearchMode();
}

const std::vector<DeviceListColumn>& deviceListColumnSpecs() {
    static const std::vector<DeviceListColumn> k = {
        {"设备标志", 70},
        {"设备名称", 120},
        {"设备IP地址", 100},
        {"上报地址", 100},
        {"上报端口", 70},
        {"固件版本", 110},
        {"设备运行状态/发现模式", 160},
        {"权限数量", 70},
        {"日志数量", 70},
        {"上报索引", 70},
        {"MAC地址", 120},
        {"权限格式", 20},
    };
    return k;
}

std::vector<std::string> deviceListColumns(const DeviceUIInfo& r) {
    auto i32 = [](std::uint32_t v) { return std::to_string(static_cast<std::int32_t>(v)); };
    return {deviceFlagText(r),
            r.name,
            r.ip,
            r.hostAddress,
            std::to_string(r.hostPort),
            r.getHardwareInfo(),
            deviceStateText(r),
            i32(readNumber(configField("rightCount"), r.doorConfig)),
            i32(readNumber(configField("logCount"), r.doorConfig)),
            i32(readNumber(configField("reportIndex"), r.doorConfig)),
            r.mac,
            i32(readNumber(configField("rightMode"), r.doorConfig))};
}

bool checkFilter(const std::string& filter, const DeviceUIInfo& r) {
    if (filter.empty())
        return true;
    auto has = [&](const std::string& s) { return s.find(filter) != std::string::npos; };
    return has(r.name) || has(r.ip) || has(r.mac) || has(deviceFlagText(r)) ||
           has(r.getHardwareInfo()) || has(deviceStateText(r));
}

} // namespace quorvane
