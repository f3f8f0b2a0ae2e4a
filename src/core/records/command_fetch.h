#pragma once
// A fetch of many items by one command: the request names a range (start, then start +
// count), the controller answers once per item, and the fetch waits until every item came
// or the controller fell silent for the silence limit. Each reply wakes the wait at once.
// The reply handler of the item's code writes its line into the buffer; the fetch collects
// the text, and either leaves it to the reply notices or writes it to a file and opens it.
#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "model/device_info.h"
#include "protocol/reply_subscription.h"
#include "records/reply_text_buffer.h"

namespace quorvane {

class ToolSession;

struct CommandFetchPlan {
    std::uint8_t command = 0;
    std::uint32_t start = 0;
    std::uint32_t count = 0;
    // Silence after the last reply (or after the request) that ends the wait.
    std::chrono::seconds silence{5};
    // What the host service's pipe worker is told to wait for, in milliseconds.
    int pipeTimeoutMs = 3000;
    // Reply notices during the wait (each line also shows in the "系统" box).
    bool notices = false;
    bool waitCursor = true;
    // Where a text is written and opened afterwards (program directory); empty: nowhere.
    std::string fileName;
    // The progress line; "%ld/%ld" is replaced by the replies so far and the count.
    std::string progressText;
    // The summary's name of the fetch ("提取记录"); a fetch of more than one index ends with it.
    std::string operation;
};

struct CommandFetchResult {
    int rc = -1; // 0 some text came; -1 no address; -2 nothing came back
    std::string text;
    std::vector<ReceivedReply> replies; // in arrival order
    bool cancelled = false;
    std::string file; // full path of the file written, when one was
};

// The 8-byte range payload: start and start + count, both u32 little-endian.
std::vector<std::uint8_t> rangePayload(std::uint32_t start, std::uint32_t count);

// buffer: the one the reply handler of command + 1 appends to; cleared before the wait.
// "没有返回数据" when no text came.
CommandFetchResult fetchByCommand(ToolSession& session, const DeviceUIInfo& device,
                                  const CommandFetchPlan& plan, ReplyTextBuffer& buffer);

} // namespace quorvane
