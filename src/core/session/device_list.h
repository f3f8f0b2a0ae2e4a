#pragma once
// The controllers found by the last search, in list order, guarded by the device-list mutex.
// Search replies (receive thread, pipe worker) wait for the mutex; the search and the list
// redraw only try it and skip their work when it is busy.
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include <ace/Thread_Mutex.h>

#include "model/device_info.h"

namespace quorvane {

struct DeviceListOptions {
    bool unique = true;              // `unique-dev-list`
    int sortKey = 1;                 // `sort-dev-list`; 0 keeps arrival order
    bool listServiceDevices = false; // the "list devices connected through the service" box
};

class DeviceList {
  public:
    explicit DeviceList(DeviceListOptions options = {});

    void setListServiceDevices(bool on);
    DeviceListOptions options() const;

    // A decoded search reply. Returns false when the record was dropped because it came only
    // through the host service while such devices are not listed.
    bool addSearchReply(const DeviceUIInfo& record);
    // Appends a record loaded from a file, keeping the order.
    void append(const DeviceUIInfo& record);
    // Replaces the first row equal to before with after (the window's edits of a selected
    // record that a later save sends); false when no row is equal.
    bool replace(const DeviceUIInfo& before, const DeviceUIInfo& after);
    // Empties the list unless the mutex is busy; false when it was busy.
    bool tryClear();
    // A copy of the rows unless the mutex is busy.
    std::optional<std::vector<DeviceUIInfo>> trySnapshot() const;
    std::vector<DeviceUIInfo> snapshot() const;
    std::size_t size() const;

    // The host-service update: "sourceAddress=globalId\n" for each row found through the pipe.
    std::string pipeUpdateText() const;

  private:
    void insertLocked(const DeviceUIInfo& record);
    static std::string mergeKey(const DeviceUIInfo& record);

    mutable ACE_Thread_Mutex mutex_;
    DeviceListOptions options_;
    std::vector<DeviceUIInfo> copyLocked() const;

    // Rows by pointer: keeping the order moves 8-byte pointers, not kilobyte records.
    std::vector<std::unique_ptr<DeviceUIInfo>> rows_;
    // Rows per (ip, raw id): only keys seen before need the front-to-back merge walk.
    std::unordered_map<std::string, int> keyCount_;
};

// The "%05d" device flag of the first column: groupNo x 256 + deviceNo.
std::string deviceFlagText(const DeviceUIInfo& record);
// "%d-%s/%s": system status, its text, how the controller was found.
std::string deviceStateText(const DeviceUIInfo& record);
// The texts of the list's twelve columns for a record, in column order.
std::vector<std::string> deviceListColumns(const DeviceUIInfo& record);
// The column captions and widths of the device list.
struct DeviceListColumn {
    const char* caption;
    int width;
};
const std::vector<DeviceListColumn>& deviceListColumnSpecs();

// True when filter occurs (case-sensitive substring) in the name, ip, mac, device flag,
// hardware text or status text; an empty filter passes every record.
bool checkFilter(const std::string& filter, const DeviceUIInfo& record);

} // namespace quorvane
