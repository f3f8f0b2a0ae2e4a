// Any message read from the host-service pipe: the answer reader, then (for an answer with a
// frame) the reply handler with the search-reply handler behind it, as the pipe worker does.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "protocol/pipe_message.h"
#include "protocol/reply_dispatch.h"
#include "session/device_list.h"
#include "session/search_reply.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static quorvane::ReplyDispatcher dispatcher(nullptr, "/nonexistent-quorvane-fuzz",
                                                [](const std::string&) {});
    static quorvane::DeviceList devices(quorvane::DeviceListOptions{true, 1, true});
    static quorvane::SearchReplyHandler searchReplies(dispatcher, devices, 3366);
    // A copy of exactly the received size, so that any overrun is caught.
    std::vector<std::uint8_t> message(data, data + size);
    auto answer = quorvane::readPipeAnswer(message);
    if (answer && !answer->end) {
        dispatcher.handleReply(answer->frame, answer->sender, false);
        quorvane::parsePipeRequest(message);
    }
    if (devices.size() > 1000) devices.tryClear();
    return 0;
}
