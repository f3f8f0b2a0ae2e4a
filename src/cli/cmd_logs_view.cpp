// logs view: the log viewer on one controller. One page of rows, tab-separated in the
// viewer's column order; records not in the local copy are read from the controller as the
// viewer reads them, and the copy is kept in the same cache file.
#include <ostream>

#include "commands.h"
#include "device_selection.h"
#include "idcard/stored_identity.h"
#include "operation_exit.h"
#include "records/log_viewer.h"

namespace quorvane::cli {

int cmdLogsView(CliContext& ctx) {
    long page = 0;
    if (!numberOption(ctx, "--page", 1, 0x7FFFFFFFl, page))
        return kUsage;
    if ((page != 0 && ctx.args.has("--last")) || !ctx.args.positionals().empty())
        return kUsage;
    return onSelectedDevice(ctx, [&](ToolSession& s, const std::optional<DeviceUIInfo>& d) {
        MemoryImages images;
        LogViewer viewer(s, images, *d, viewerIdentities(s.programDir()));
        viewer.open();
        if (ctx.args.has("--card-only"))
            viewer.setCardOnly(true, false);
        if (ctx.args.has("--download") && viewer.download() != kOperationDone)
            return kFailed;
        // Without --page the viewer opens on its last page.
        if (page != 0)
            viewer.jumpTo(page);
        for (const ViewerRow& row : viewer.showPage()) {
            for (std::size_t c = 0; c < row.columns.size(); ++c)
                *ctx.out << row.columns[c] << (c + 1 < row.columns.size() ? '\t' : '\n');
        }
        return kOk;
    });
}

} // namespace quorvane::cli
