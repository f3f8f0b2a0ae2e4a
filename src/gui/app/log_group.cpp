#include "app/log_group.h"

#include <algorithm>

#include <random>

#include <QLineEdit>
#include <QPushButton>

#include "app/main_window_controls.h"
#include "app/operation_controls.h"
#include "app/qt_user_port.h"
#include "app/running_scope.h"
#include "dialogs/dlg_log_viewer.h"
#include "idcard/identity_fetch.h"
#include "model/config_table.h"
#include "records/fill_log.h"
#include "records/log_fetch.h"
#include "records/query_data.h"
#include "session/tool_session.h"

namespace quorvane::gui {

LogGroup::LogGroup(WindowContext& ctx)
    : WindowGroup(ctx), fillLogCount_(ctx.session.settings().readInt("options", "fill-log-cnt", 1)),
      saveType_(ctx.session.settings().readInt("common", "save-type", 1)),
      photos_(ctx.session.programDir(), readPhotoSettings(ctx.session.settings()),
              ctx.session.clock(),
              [&s = ctx.session](const std::string& line) { s.log().writeLogLine(line); }) {
    connect(ctx.c.logCount, &QLineEdit::textEdited, this, &LogGroup::OnEnChangeLogCount);
    connect(ctx.c.getRec, &QPushButton::clicked, this, &LogGroup::OnBnClickedGetRec);
    connect(ctx.c.getIdInfo, &QPushButton::clicked, this, &LogGroup::OnBnClickedGetIdinfo);
    connect(ctx.c.fillLog, &QPushButton::clicked, this, &LogGroup::OnBnClickedFillLog);
    connect(ctx.c.queryRec, &QPushButton::clicked, this, &LogGroup::OnBnClickedQueryRec);
    connect(ctx.c.logViewer, &QPushButton::clicked, this, &LogGroup::OnBnClickedLogViewer);
    ctx.operations.provide(ctx.c.logViewer);
}

std::optional<LogGroup::Range> LogGroup::range() {
    bool startOk = false, countOk = false;
    const uint start = ctx_.c.logStart->text().toUInt(&startOk);
    const uint count = ctx_.c.logCount->text().toUInt(&countOk);
    if (!startOk || !countOk) {
        ctx_.port.showMessage("保存界面数据失败！");
        return std::nullopt;
    }
    return Range{start, count};
}

void LogGroup::OnBnClickedGetRec() {
    Running running(running_);
    auto r = running.entered() ? range() : std::nullopt;
    if (r)
        getRecords(ctx_.session, selected(), r->start, r->count);
}

void LogGroup::OnBnClickedGetIdinfo() {
    Running running(running_);
    auto r = running.entered() ? range() : std::nullopt;
    if (r)
        fetchIdentities(ctx_.session, selected(), r->start, r->count, &photos_);
}

void LogGroup::OnBnClickedFillLog() {
    static std::minstd_rand random(std::random_device{}());
    fillLog(ctx_.session, selected(),
            fillLogCount(fillLogCount_, [] { return std::uint32_t(random()); }));
}

void LogGroup::OnBnClickedQueryRec() {
    queryData(ctx_.session, saveType_);
}

void LogGroup::OnBnClickedLogViewer() {
    Running running(running_);
    if (!running.entered() || !images_)
        return;
    for (bool again = true; again;) {
        const auto chosen = selected();
        DeviceUIInfo device = chosen.value_or(DeviceUIInfo{});
        if (ctx_.session.refreshSelected(chosen, true, &device) < 0)
            return;
        auto r = range();
        if (!r)
            return;
        if (!chosen) {
            ctx_.port.showMessage("请选择要操作的设备！");
            return;
        }
        if (r->count == 0)
            return;
        CDlgLogViewer viewer(ctx_.session, *images_, device, photos_, ctx_.window);
        // The viewer's messages, busy periods and progress belong to it while it is open.
        ctx_.port.setWindow(&viewer);
        again = viewer.exec() == QDialog::Accepted;
        ctx_.port.setWindow(ctx_.window);
    }
}

void LogGroup::readInitialValues() {
    const int count = ctx_.session.settings().readInt("options", "get-rec-count", 10);
    ctx_.c.logCount->setText(QString::number(count));
    ctx_.c.logStart->setText("1");
}

void LogGroup::showLogStart(const DeviceUIInfo* record) {
    if (!record)
        return;
    const long logCount =
        static_cast<long>(readNumber(configField("logCount"), record->doorConfig));
    const long fetch = ctx_.c.logCount->text().toLong();
    ctx_.c.logStart->setText(QString::number(std::max(0L, logCount - fetch)));
}

void LogGroup::OnEnChangeLogCount() {
    ctx_.session.settings().writeString("options", "get-rec-count",
                                        std::to_string(ctx_.c.logCount->text().toUInt()));
}

} // namespace quorvane::gui
