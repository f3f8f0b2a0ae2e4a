#include "controller_table.h"

#include <algorithm>

#include "model/device_info.h"
#include "protocol/frame.h"

namespace quorvane::tavrin {

bool ControllerTable::learn(Bytes frame, const platform::Ipv4Endpoint& source) {
    FrameInfo info = inspectFrame(frame);
    if (!info.isReply || info.command != 3 || !info.lengthFits)
        return false;
    DeviceUIInfo record;
    bool extended = false;
    if (getUIInfoFromMsg(declaredFrame(frame), extended, record) != 0)
        return false;
    Entry e{record.name, record.getGlobalId(), source};
    auto same = std::find_if(entries_.begin(), entries_.end(), [&](const Entry& x) {
        return x.endpoint == e.endpoint && x.globalId == e.globalId;
    });
    if (same != entries_.end())
        *same = std::move(e);
    else
        entries_.push_back(std::move(e));
    return true;
}

template <class Match>
Resolution ControllerTable::unique(Match match, const std::string& what) const {
    Resolution r;
    for (const auto& e : entries_) {
        if (!match(e))
            continue;
        if (r.target && !(*r.target == e.endpoint)) {
            r.outcome = Resolution::Outcome::Ambiguous;
            r.target.reset();
            r.why = "more than one controller answers to " + what + " (" + e.endpoint.text() +
                    " among them)";
            return r;
        }
        r.target = e.endpoint;
    }
    r.outcome = r.target ? Resolution::Outcome::Found : Resolution::Outcome::Unknown;
    if (!r.target)
        r.why = "no controller answers to " + what;
    return r;
}

Resolution ControllerTable::resolve(const std::string& address, const std::string& identity,
                                    std::uint16_t defaultPort) const {
    // A global id decides alone: a request naming one nobody has is refused, whatever name or
    // address it also carries, so a request for one controller never reaches another.
    if (!identity.empty())
        return unique([&](const Entry& e) { return e.globalId == identity; },
                      "global id " + identity);
    if (auto e = platform::parseEndpoint(address, defaultPort))
        return Resolution{Resolution::Outcome::Found, e, {}};
    return unique([&](const Entry& e) { return e.name == address; },
                  "the name \"" + address + "\"");
}

} // namespace quorvane::tavrin
