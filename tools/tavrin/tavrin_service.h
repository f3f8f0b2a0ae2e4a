#pragma once
// The service: one pipe client at a time, one request per connection. A kind-0 request is
// relayed by UDP and every reply returned as an answer; the exchange ends with "xxx".
#include <chrono>
#include <string>

#include "controller_table.h"
#include "platform/local_pipe.h"
#include "platform/udp_socket.h"
#include "protocol/pipe_message.h"

namespace quorvane::tavrin {

struct ServiceConfig {
    platform::Ipv4Endpoint searchDestination;
    std::uint32_t bindAddress = 0;
    std::string pipePath;        // empty: the pipe is not served
    int quietMs = 3000;
    std::string dataDir;         // where the device-list updates are kept
};

class TavrinService {
public:
    TavrinService(ServiceConfig config, platform::Wakeup& stop);
    bool open();
    // Searches once, then serves the pipe until stopped.
    void run();

private:
    void serve(platform::LocalPipe& client);
    void search(Bytes frame, platform::LocalPipe* client);
    void relay(const PipeRequest& request, platform::LocalPipe& client);
    void storeUpdate(const std::string& text);
    void answer(platform::LocalPipe& client, const platform::Ipv4Endpoint& from, Bytes frame);
    void end(platform::LocalPipe& client);
    void write(platform::LocalPipe& client, Bytes message);
    void log(const std::string& line);

    ServiceConfig config_;
    platform::Wakeup& stop_;
    platform::UdpSocket udp_;
    platform::LocalPipeListener listener_;
    ControllerTable controllers_;
};

} // namespace quorvane::tavrin
