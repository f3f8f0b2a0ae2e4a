// quorvane-cli search: the main window's search, then the listed controllers in list order.
#include <chrono>
#include <cstdlib>
#include <ostream>

#include "commands.h"
#include "protocol/admin_channel.h"
#include "session/device_list.h"
#include "session/tool_session.h"

namespace quorvane::cli {

namespace {
void jsonString(std::ostream& out, const std::string& s) {
    auto escaped = [&out](unsigned code) {
        char buf[8];
        std::snprintf(buf, sizeof buf, "\\u%04x", code);
        out << buf;
    };
    out << '"';
    for (std::size_t i = 0; i < s.size(); ++i) {
        auto c = static_cast<unsigned char>(s[i]);
        switch (c) {
        case '"':
            out << "\\\"";
            break;
        case '\\':
            out << "\\\\";
            break;
        case '\n':
            out << "\\n";
            break;
        case '\t':
            out << "\\t";
            break;
        case '\r':
            out << "\\r";
            break;
        default:
            if (c < 0x20 || c == 0x7F) {
                escaped(c);
            } else if (c == 0xC2 && i + 1 < s.size() &&
                       static_cast<unsigned char>(s[i + 1]) <= 0x9F &&
                       static_cast<unsigned char>(s[i + 1]) >= 0x80) {
                // The C1 controls U+0080..U+009F travel escaped, so the document holds no
                // byte a terminal acts on.
                escaped(static_cast<unsigned char>(s[++i]));
            } else {
                out << static_cast<char>(c);
            }
        }
    }
    out << '"';
}

// A controller names itself: a tab or line break in its name would split the row, so control
// characters in a cell are shown as spaces.
std::string cellText(std::string s) {
    for (auto& c : s)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            c = ' ';
    return s;
}

} // namespace

int cmdSearch(CliContext& ctx) {
    const std::string* to = ctx.args.value("--to");
    const std::string* iface = ctx.args.value("--iface");
    long port = 0, waitMs = 3000;
    if (!ctx.args.positionals().empty() || !numberOption(ctx, "--port", 1, 65535, port) ||
        !numberOption(ctx, "--wait", 0, 600000, waitMs))
        return kUsage;
    std::optional<std::uint32_t> toAddress;
    if (to && !(toAddress = platform::parseIpv4(*to))) {
        *ctx.err << "not an IPv4 address: " << *to << "\n";
        return kUsage;
    }
    if (iface && !platform::parseIpv4(*iface)) {
        *ctx.err << "not an IPv4 address: " << *iface << "\n";
        return kUsage;
    }

    ToolSession session(ctx.home, *ctx.port);
    // Standard output carries the list only; the dumps stay in the tool log.
    session.log().setEcho(false);
    session.start();

    SearchRequest request;
    request.multicast = ctx.args.has("--mcast");
    SearchTarget target = session.channel().configuredSearchTarget(request.multicast);
    request.searchAddress = toAddress.value_or(target.destination.address);
    request.port = port ? static_cast<std::uint16_t>(port) : target.destination.port;
    request.interfaceAddress =
        iface ? *iface : ctx.settings->readString("net", "mcast-local-address");
    request.listServiceDevices = ctx.args.has("--pipe");
    // --to, --port and --iface choose for this run only: nothing is written to the settings.
    request.remember = !to && port == 0 && !iface;
    if (!session.search(request)) {
        session.stop();
        return kFailed;
    }
    session.clock().sleepFor(std::chrono::milliseconds(waitMs));
    session.stop();

    auto rows = session.devices().snapshot();
    auto& out = *ctx.out;
    if (ctx.args.has("--json")) {
        const auto& specs = deviceListColumnSpecs();
        out << "[";
        for (std::size_t r = 0; r < rows.size(); ++r) {
            auto columns = deviceListColumns(rows[r]);
            out << (r ? ",\n " : "\n ") << "{";
            for (std::size_t c = 0; c < columns.size(); ++c) {
                if (c)
                    out << ", ";
                jsonString(out, specs[c].caption);
                out << ": ";
                jsonString(out, columns[c]);
            }
            out << "}";
        }
        out << (rows.empty() ? "]\n" : "\n]\n");
        return kOk;
    }
    for (const auto& row : rows) {
        auto columns = deviceListColumns(row);
        for (std::size_t c = 0; c < columns.size(); ++c)
            out << (c ? "\t" : "") << cellText(columns[c]);
        out << "\n";
    }
    return kOk;
}

} // namespace quorvane::cli
