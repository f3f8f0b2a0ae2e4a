// quorvane-cli search: the main window's search, then the listed controllers in list order.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ostream>

#include <nlohmann/json.hpp>

#include "commands.h"
#include "json_output.h"
#include "json_report.h"
#include "protocol/admin_channel.h"
#include "session/device_list.h"
#include "session/tool_session.h"

namespace quorvane::cli {

namespace {
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
    if (ctx.json) {
        // One object per row, its members in the list's column order.
        const auto& specs = deviceListColumnSpecs();
        auto document = nlohmann::ordered_json::array();
        for (const auto& row : rows) {
            auto columns = deviceListColumns(row);
            auto object = nlohmann::ordered_json::object();
            for (std::size_t c = 0; c < columns.size(); ++c)
                object[std::string(specs[c].caption)] = columns[c];
            document.push_back(std::move(object));
        }
        out << jsonDocumentText(document) << "\n";
        ctx.json->markPrinted();
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
