#include "app/log_group.h"

#include <algorithm>

#include <QLineEdit>

#include "app/main_window_controls.h"
#include "model/config_table.h"
#include "session/tool_session.h"

namespace quorvane::gui {

LogGroup::LogGroup(WindowContext& ctx) : WindowGroup(ctx) {
    connect(ctx.c.logCount, &QLineEdit::textEdited, this, &LogGroup::OnEnChangeLogCount);
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
    ctx_.c.logStart->setText(QString::number(std::max(1L, logCount - fetch + 1)));
}

void LogGroup::OnEnChangeLogCount() {
    ctx_.session.settings().writeString("options", "get-rec-count",
                                        std::to_string(ctx_.c.logCount->text().toUInt()));
}

} // namespace quorvane::gui
