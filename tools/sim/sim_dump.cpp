#include "sim_dump.h"

#include "platform/udp_socket.h"
#include "sim_json.h"
#include "sim_module.h"

namespace quorvane::sim {

std::string stateDump(std::uint64_t sequence, std::string_view reason,
                      const std::vector<SimController>& controllers) {
    JsonWriter out;
    out.beginObject();
    out.field("dump", static_cast<std::int64_t>(sequence));
    out.field("reason", reason);
    out.key("controllers").beginArray();
    for (const SimController& c : controllers) {
        out.beginObject();
        out.field("address", platform::ipv4Text(c.address));
        out.field("targetId", c.targetId());
        out.key("requests").beginObject();
        for (auto [code, count] : c.requests)
            out.field(std::to_string(code), count);
        out.endObject();
        for (const SimModule* m : simModules()) {
            out.key(m->name);
            m->dump(c, out);
        }
        out.endObject();
    }
    out.endArray();
    out.endObject();
    return out.text();
}

} // namespace quorvane::sim
