#pragma once
// The service: one request per pipe connection, each connection served on a thread of its own
// so that a client that sends nothing, or a long exchange, holds no other client. A kind-0
// request is relayed by UDP and every reply returned as an answer; the exchange ends with
// "xxx". Every exchange has a UDP socket of its own, so replies never reach another exchange.
#include <atomic>
#include <chrono>
#include <list>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "controller_table.h"
#include "platform/local_pipe.h"
#include "platform/udp_socket.h"
#include "protocol/pipe_message.h"

namespace quorvane::tavrin {

struct ServiceConfig {
    platform::Ipv4Endpoint searchDestination;
    std::uint32_t bindAddress = 0;
    std::string pipePath;    // empty: the pipe is not served
    int quietMs = 3000;      // a search ends when no search reply came for this long ...
    int searchCapMs = 10000; // ... and at the latest after this long
    // A relay waits for a reply at most this long, whatever its client asks for: a client
    // asking for endless waits on a silent address would otherwise keep its slot for good.
    int relayCapMs = 30000;
    std::string dataDir; // where the device-list updates are kept
};

class TavrinService {
  public:
    TavrinService(ServiceConfig config, platform::Wakeup& stop);
    ~TavrinService();
    // Checks the UDP side and takes the pipe. False, with error() saying why, when either
    // fails (another service serving the pipe among the reasons).
    bool open();
    const std::string& error() const { return error_; }
    // Searches once, then serves the pipe until stopped.
    void run();

  private:
    struct Client {
        std::thread thread;
        std::shared_ptr<std::atomic<bool>> done;
    };

    void serve(platform::LocalPipe& client);
    void search(Bytes frame, platform::LocalPipe* client);
    void relay(const PipeRequest& request, platform::LocalPipe& client);
    void storeUpdate(const std::string& text);
    void answer(platform::LocalPipe& client, const platform::Ipv4Endpoint& from, Bytes frame);
    void end(platform::LocalPipe& client);
    void write(platform::LocalPipe& client, Bytes message);
    void log(const std::string& line);
    // A UDP socket for one exchange, bound to the configured address; broadcast only for
    // searches.
    bool openExchangeSocket(platform::UdpSocket& socket, bool broadcast);
    void reapClients(bool all);

    ServiceConfig config_;
    platform::Wakeup& stop_;
    platform::LocalPipeListener listener_;
    std::string error_;

    std::mutex logMutex_;
    std::mutex tableMutex_;
    ControllerTable controllers_; // as the last search found them
    std::list<Client> clients_;   // touched by the accepting thread only
};

} // namespace quorvane::tavrin
