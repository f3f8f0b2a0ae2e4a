#include "sim_dump.h"

#include "platform/udp_socket.h"
#include "sim_json.h"
#include "sim_module.h"

namespace quorvane::sim {

std::string stateDump(std::uint64_t sequence, std::string_view reason,
                      const std::vector<SimController>& controllers) {
    Json list = Json::array();
    for (const SimController& c : controllers) {
        Json entry = {{"address", platform::ipv4Text(c.address)}, {"targetId", c.targetId()}};
        Json& requests = entry["requests"] = Json::object();
        for (auto [code, count] : c.requests)
            requests[std::to_string(code)] = count;
        for (const SimModule* m : simModules())
            entry[m->name] = m->dump(c);
        list.push_back(std::move(entry));
    }
    Json document = {
        {"dump", sequence}, {"reason", std::string(reason)}, {"controllers", std::move(list)}};
    return document.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

} // namespace quorvane::sim
